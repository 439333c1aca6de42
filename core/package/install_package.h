// The install package at start-up: "install.zip" on the medium is opened, its setup
// files (entries whose destination text is empty) are unpacked into the setup
// folder, and install.inf, license.inf and readme.inf are read from there.
#pragma once

#include <string>

#include "core/wizard_view.h"

namespace setuvane {

namespace archive {
class FileSystem;
class TAbUnZipper;
}  // namespace archive

inline constexpr char kPackageName[] = "install.zip";
inline constexpr char kPackagePassword[] = "tarnwick";

// The setup files the installer reads from the setup folder. Copies left there by
// an earlier run are removed before a package is unpacked, so that a package
// lacking one of them never meets another product's file.
inline constexpr const char* kSetupFilesRead[] = {"install.inf", "license.inf",  "readme.inf",
                                                   "registry.inf", "shortcut.inf", "install.bmp"};

// Unpacks the setup files with `zipInstall` and reads the settings. False (after a
// report) when the package cannot be unpacked; ends the program at once when the
// package is missing or install.inf cannot be read.
bool OpenInstallPackage(archive::TAbUnZipper& zipInstall, archive::FileSystem& files);

// Fill the licence and the product information lists from license.inf and
// readme.inf, one trimmed line an item. False (after a report) when the file
// cannot be read; the list then keeps what it held.
bool LoadLicense(ListItems& lsvLicense);
bool LoadReadme(ListItems& lsvReadme);

// The password handler of both unzip components: the package password.
void SupplyPackagePassword(std::string& newPassword);

}  // namespace setuvane
