// The portable rules of the folder browser TFolderDialog: its options and how
// setting them keeps them consistent, the browse flags they pass to the shell, the
// root folders and their CSIDL values, and where the dialog is placed.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "widgets/geometry.h"

namespace setuvane {

// The first seven are the shell's browse flags; the rest are the component's own.
enum class TBrowseOption {
  bfFileSysDirsOnly,       // BIF_RETURNONLYFSDIRS; also: OK only for file-system folders
  bfDontGoBelowDomain,     // BIF_DONTGOBELOWDOMAIN
  bfStatusText,            // BIF_STATUSTEXT
  bfFileSysAncestors,      // BIF_RETURNFSANCESTORS
  bfBrowseForComputer,     // BIF_BROWSEFORCOMPUTER
  bfBrowseForPrinter,      // BIF_BROWSEFORPRINTER
  bfBrowseIncludeFiles,    // BIF_BROWSEINCLUDEFILES
  bfShowPathInStatusArea,  // the status line shows the selected path
  bfSyncCustomButton,      // these three concern an extra button the program never adds
  bfAlignCustomButton,
  bfResizeCustomButton,
  bfScreenCenter,          // centred on the screen
  bfParentCenter,          // centred over the owner window
};

class TBrowseOptions {
 public:
  constexpr TBrowseOptions() = default;
  constexpr TBrowseOptions(std::initializer_list<TBrowseOption> options) {
    for (TBrowseOption option : options) bits_ |= Bit(option);
  }
  constexpr bool Has(TBrowseOption option) const { return (bits_ & Bit(option)) != 0; }
  constexpr TBrowseOptions With(TBrowseOption option) const { return FromBits(bits_ | Bit(option)); }
  constexpr TBrowseOptions Without(TBrowseOption option) const { return FromBits(bits_ & ~Bit(option)); }
  friend constexpr bool operator==(TBrowseOptions, TBrowseOptions) = default;

 private:
  static constexpr std::uint32_t Bit(TBrowseOption option) { return 1u << static_cast<int>(option); }
  static constexpr TBrowseOptions FromBits(std::uint32_t bits) {
    TBrowseOptions options;
    options.bits_ = bits;
    return options;
  }
  std::uint32_t bits_ = 0;
};

inline constexpr TBrowseOptions kDefaultBrowseOptions{
    TBrowseOption::bfFileSysDirsOnly,  TBrowseOption::bfStatusText,        TBrowseOption::bfShowPathInStatusArea,
    TBrowseOption::bfSyncCustomButton, TBrowseOption::bfAlignCustomButton, TBrowseOption::bfParentCenter};

// The top of the folder tree: the whole desktop expanded, or a special folder.
enum class TRootFolder {
  sfoDesktopExpanded, sfoDesktop, sfoPrograms, sfoControlPanel, sfoPrinters, sfoPersonal, sfoFavorites,
  sfoStartup, sfoRecent, sfoSendto, sfoRecycleBin, sfoStartMenu, sfoDesktopDirectory, sfoMyComputer,
  sfoNetwork, sfoNetworkNeighborhood, sfoFonts, sfoTemplates, sfoCommonStartMenu, sfoCommonPrograms,
  sfoCommonStartup, sfoCommonDesktopDirectory, sfoAppData, sfoPrintHood,
};

// The CSIDL of a root folder; none for sfoDesktopExpanded.
std::optional<int> CsidlOf(TRootFolder root);

// `requested` made consistent with itself, judged against the `current` options:
// the centring option newly added wins over the other; newly adding
// bfBrowseForComputer sets `root` to sfoNetwork and drops the file-system and
// printer options, else newly adding bfBrowseForPrinter drops the file-system,
// domain and computer options; newly adding bfShowPathInStatusArea adds
// bfStatusText; dropping bfStatusText drops bfShowPathInStatusArea with it.
TBrowseOptions ConsistentBrowseOptions(TBrowseOptions current, TBrowseOptions requested, TRootFolder& root);

// The BIF_ flags of the first seven options.
std::uint32_t BrowseFlagsOf(TBrowseOptions options);

// The dialog's top left corner centred horizontally over the owner's window
// rectangle, a quarter of the owner's height below its top.
PointI ParentCentrePosition(const RectI& owner, SizeI dialog);

// Centred horizontally on the screen and a third of the way down, by the dialog's
// client size.
PointI ScreenCentrePosition(SizeI screen, SizeI dialogClient);

}  // namespace setuvane
