#include "widgets/folder_dialog_rules.h"

#include <gtest/gtest.h>

namespace setuvane {
namespace {

using O = TBrowseOption;

TBrowseOptions Set(TBrowseOptions current, TBrowseOptions requested, TRootFolder& root) {
  return ConsistentBrowseOptions(current, requested, root);
}

TEST(FolderDialogOptions, SettingThemKeepsThemConsistent) {
  TRootFolder root = TRootFolder::sfoDesktopExpanded;
  const TBrowseOptions defaults = kDefaultBrowseOptions;
  // The centring option newly added wins; both new at once keep the screen.
  EXPECT_EQ(Set(defaults, defaults.With(O::bfScreenCenter), root), defaults.With(O::bfScreenCenter).Without(O::bfParentCenter));
  const TBrowseOptions screen = defaults.With(O::bfScreenCenter).Without(O::bfParentCenter);
  EXPECT_EQ(Set(screen, screen.With(O::bfParentCenter), root), defaults);
  EXPECT_EQ(Set({}, {O::bfScreenCenter, O::bfParentCenter}, root), TBrowseOptions{O::bfScreenCenter});

  // A computer browser starts at the network and returns no folders.
  const TBrowseOptions wide = defaults.With(O::bfFileSysAncestors).With(O::bfBrowseForPrinter).With(O::bfDontGoBelowDomain);
  EXPECT_EQ(Set(wide, wide.With(O::bfBrowseForComputer), root),
            defaults.Without(O::bfFileSysDirsOnly).With(O::bfDontGoBelowDomain).With(O::bfBrowseForComputer));
  EXPECT_EQ(root, TRootFolder::sfoNetwork);

  root = TRootFolder::sfoDesktopExpanded;
  const TBrowseOptions computer = defaults.With(O::bfBrowseForComputer).With(O::bfDontGoBelowDomain);
  EXPECT_EQ(Set(computer, computer.With(O::bfBrowseForPrinter), root),
            defaults.Without(O::bfFileSysDirsOnly).With(O::bfBrowseForPrinter));
  EXPECT_EQ(root, TRootFolder::sfoDesktopExpanded);
  // Both newly added: the computer wins and drops the printer.
  EXPECT_EQ(Set({}, {O::bfBrowseForComputer, O::bfBrowseForPrinter}, root), TBrowseOptions{O::bfBrowseForComputer});

  // The path in the status area needs the status line, both ways.
  EXPECT_EQ(Set({}, {O::bfShowPathInStatusArea}, root), (TBrowseOptions{O::bfShowPathInStatusArea, O::bfStatusText}));
  EXPECT_EQ(Set(defaults, defaults.Without(O::bfStatusText), root),
            defaults.Without(O::bfStatusText).Without(O::bfShowPathInStatusArea));
  EXPECT_EQ(Set(defaults, defaults.Without(O::bfStatusText).Without(O::bfShowPathInStatusArea), root),
            defaults.Without(O::bfStatusText).Without(O::bfShowPathInStatusArea));
  const TBrowseOptions statusOnly{O::bfStatusText};
  EXPECT_EQ(Set(defaults, statusOnly, root), statusOnly);  // the path option went with it
}

TEST(FolderDialogOptions, BrowseFlagsAndRootFolders) {
  EXPECT_EQ(BrowseFlagsOf(kDefaultBrowseOptions), 0x0005u);
  EXPECT_EQ(BrowseFlagsOf({O::bfDontGoBelowDomain, O::bfFileSysAncestors, O::bfBrowseForComputer,
                           O::bfBrowseForPrinter, O::bfBrowseIncludeFiles, O::bfScreenCenter}),
            0x700Au);
  EXPECT_EQ(CsidlOf(TRootFolder::sfoDesktopExpanded), std::nullopt);
  EXPECT_EQ(CsidlOf(TRootFolder::sfoDesktop), 0);
  EXPECT_EQ(CsidlOf(TRootFolder::sfoStartMenu), 11);
  EXPECT_EQ(CsidlOf(TRootFolder::sfoDesktopDirectory), 16);
  EXPECT_EQ(CsidlOf(TRootFolder::sfoNetwork), 18);
  EXPECT_EQ(CsidlOf(TRootFolder::sfoPrintHood), 27);
}

TEST(FolderDialogPlacement, OverTheOwnerOrOnTheScreen) {
  // Centred across, a quarter of the owner's height down; halves truncated.
  EXPECT_EQ(ParentCentrePosition({100, 50, 901, 651}, {321, 300}), (PointI{100 + 400 - 160, 50 + 150}));
  EXPECT_EQ(ParentCentrePosition({-10, -20, 10, 20}, {100, 100}), (PointI{-50, -10}));
  EXPECT_EQ(ScreenCentrePosition({1024, 768}, {305, 301}), (PointI{359, 155}));
  EXPECT_EQ(ScreenCentrePosition({200, 100}, {300, 200}), (PointI{-50, -33}));
}

}  // namespace
}  // namespace setuvane
