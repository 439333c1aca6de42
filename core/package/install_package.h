// core/package/: the install package: where it is found (the folder medium's
// install.zip, or the package the program carries in a single file), how a carried
// one is checked, its setup files and the settings of install.inf, and what its
// destination texts name on this machine. It uses core/run/, archive/ and pe/;
// the wizard, the installation, the uninstallation and the program use it.
//
// The install package at start-up: the package is opened, its setup files (entries
// whose destination text is empty) are unpacked into a setup folder of this run's
// own (core/run/setup_folder.h), and install.inf is read from there (license.inf
// and readme.inf are the wizard's: core/wizard/information_pages.h). Setup files
// are unpacked flat, but for the component installers a single file carries below
// their folder's name ("supaxdo/setup.exe"), which keep that folder.
#pragma once

#include <string>

#include "core/package/package_source.h"

namespace setuvane {

inline constexpr char kPackagePassword[] = "tarnwick";

// Unpacks the setup files with `zipInstall` and reads the settings. False (after a
// report) when the package cannot be unpacked; ends the program at once when the
// package is missing or install.inf cannot be read.
bool OpenInstallPackage(archive::TAbUnZipper& zipInstall, archive::FileSystem& files);

// The password handler of both unzip components: the package password.
void SupplyPackagePassword(std::string& newPassword);

}  // namespace setuvane
