// Where the install package is read from. The folder medium's "install.zip" in the
// launch folder comes first, as it always did; without it, the package that the
// running program carries inside itself (a single-file installer). Start-up decides
// once, after checking a carried package whole, and the installation reads the
// same package later.
#pragma once

#include <optional>
#include <string>

#include "archive/file_part.h"

namespace setuvane {

namespace archive {
class FileSystem;
class TAbUnZipper;
}  // namespace archive

// The folder medium's package, beside the installer.
inline constexpr char kPackageName[] = "install.zip";

struct PackageSource {
  std::string path;                       // the file that holds the package
  std::optional<archive::FilePart> part;  // the package's bytes in it; none: the whole file
  bool operator==(const PackageSource&) const = default;
};

// The folder medium's package or, without it, the one the running program carries,
// checked whole first: a truncated or damaged one is reported as an unreadable
// package and ends the program at once with exit code 2 (in every kind of run),
// before anything is installed. Nullopt when there is neither; the choice is kept
// for InstallPackage().
std::optional<PackageSource> LocateInstallPackage(archive::FileSystem& files);

// The package start-up chose, or the folder medium's when it chose none.
PackageSource InstallPackage();
// Forgets start-up's choice (a new start in tests).
void ForgetInstallPackage();

// True when the package's file is still there.
bool PackageExists(archive::FileSystem& files, const PackageSource& package);

// Opens the package in `zip` (the whole file, or its part).
void OpenPackage(archive::TAbUnZipper& zip, const PackageSource& package);

// The failures' own texts of a carried package that is not whole.
inline constexpr char kPackageTruncatedText[] = "Invalid file - the installer's package is cut short";
inline constexpr char kPackageDamagedText[] = "Invalid file - the installer's package is damaged";

}  // namespace setuvane
