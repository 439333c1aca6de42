// Where the install package is read from. A program that carries a package inside
// itself (a single-file installer) uses that package and nothing that lies beside
// it: an "install.zip" there is ignored, and its component installers travel in
// the package. The bare installer is the folder medium's program and reads the
// "install.zip" in the launch folder. Start-up decides once, after checking a
// carried package whole through a handle that nobody may write to while it is
// open, and every later read of the package goes through that same handle.
#pragma once

#include <memory>
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
  // For a carried package: the handle it was checked through, open to the end.
  std::shared_ptr<archive::ReadableFile> file;
  bool Carried() const { return part.has_value(); }
  bool operator==(const PackageSource&) const = default;
};

// The package the running program carries, checked whole first (a truncated or
// damaged one is reported as an unreadable package and ends the program at once
// with exit code 2, in every kind of run, before anything is installed); without
// one, the folder medium's. Nullopt when there is neither; the choice is kept for
// InstallPackage().
std::optional<PackageSource> LocateInstallPackage(archive::FileSystem& files);

// The package start-up chose, or the folder medium's when it chose none.
PackageSource InstallPackage();
// Forgets start-up's choice (a new start in tests).
void ForgetInstallPackage();

// True when the package's file is still there.
bool PackageExists(archive::FileSystem& files, const PackageSource& package);

// Opens the package in `zip` (the whole file, or its part through the checked
// handle).
void OpenPackage(archive::TAbUnZipper& zip, const PackageSource& package);

// Where the component folders are looked for: the single file's own setup folder,
// where its package's components are unpacked, or the folder medium.
std::string ComponentFolder();

// The failures' own texts of a carried package that is not whole.
inline constexpr char kPackageTruncatedText[] = "Invalid file - the installer's package is cut short";
inline constexpr char kPackageDamagedText[] = "Invalid file - the installer's package is damaged";

}  // namespace setuvane
