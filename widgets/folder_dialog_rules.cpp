#include "widgets/folder_dialog_rules.h"

#include <utility>

namespace setuvane {
namespace {

using O = TBrowseOption;

bool NewlyAdded(TBrowseOptions current, TBrowseOptions requested, TBrowseOption option) {
  return requested.Has(option) && !current.Has(option);
}

}  // namespace

std::optional<int> CsidlOf(TRootFolder root) {
  // In the order of TRootFolder after sfoDesktopExpanded.
  static constexpr int kCsidls[] = {0,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 16,
                                    17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27};
  if (root == TRootFolder::sfoDesktopExpanded) return std::nullopt;
  return kCsidls[static_cast<int>(root) - 1];
}

TBrowseOptions ConsistentBrowseOptions(TBrowseOptions current, TBrowseOptions requested, TRootFolder& root) {
  TBrowseOptions options = requested;
  if (options.Has(O::bfScreenCenter) && options.Has(O::bfParentCenter)) {
    options = options.Without(current.Has(O::bfScreenCenter) ? O::bfScreenCenter : O::bfParentCenter);
  }
  if (NewlyAdded(current, options, O::bfBrowseForComputer)) {
    root = TRootFolder::sfoNetwork;
    options = options.Without(O::bfFileSysDirsOnly).Without(O::bfFileSysAncestors).Without(O::bfBrowseForPrinter);
  } else if (NewlyAdded(current, options, O::bfBrowseForPrinter)) {
    options = options.Without(O::bfFileSysDirsOnly)
                  .Without(O::bfDontGoBelowDomain)
                  .Without(O::bfFileSysAncestors)
                  .Without(O::bfBrowseForComputer);
  }
  if (NewlyAdded(current, options, O::bfShowPathInStatusArea)) options = options.With(O::bfStatusText);
  if (current.Has(O::bfStatusText) && !options.Has(O::bfStatusText) && current.Has(O::bfShowPathInStatusArea) &&
      options.Has(O::bfShowPathInStatusArea)) {
    options = options.Without(O::bfShowPathInStatusArea);
  }
  return options;
}

std::uint32_t BrowseFlagsOf(TBrowseOptions options) {
  static constexpr std::pair<TBrowseOption, std::uint32_t> kFlags[] = {
      {O::bfFileSysDirsOnly, 0x0001},   {O::bfDontGoBelowDomain, 0x0002}, {O::bfStatusText, 0x0004},
      {O::bfFileSysAncestors, 0x0008},  {O::bfBrowseForComputer, 0x1000}, {O::bfBrowseForPrinter, 0x2000},
      {O::bfBrowseIncludeFiles, 0x4000},
  };
  std::uint32_t flags = 0;
  for (const auto& [option, flag] : kFlags) {
    if (options.Has(option)) flags |= flag;
  }
  return flags;
}

PointI ParentCentrePosition(const RectI& owner, SizeI dialog) {
  return {owner.left + owner.Width() / 2 - dialog.cx / 2, owner.top + owner.Height() / 4};
}

PointI ScreenCentrePosition(SizeI screen, SizeI dialogClient) {
  return {(screen.cx - dialogClient.cx) / 2, (screen.cy - dialogClient.cy) / 3};
}

}  // namespace setuvane
