// core/installation/: the installation itself: the product files, the steps in
// their order, and unattended runs with their exit codes. It uses every room
// before it (run, package, wizard, uninstallation); only the program uses it.
//
// What one run of the installer holds apart from its window: the two unzip
// components (zipInstall for the setup files at start-up, zipPacker inside the
// product installation), the shortcut writer, and the installation steps bound to
// them in the order the wizard runs them.
#pragma once

#include "archive/unzipper.h"
#include "core/installation/product_installation.h"
#include "core/uninstallation/uninstall_setup.h"
#include "core/wizard/wizard.h"
#include "core/wizard/wizard_view.h"
#include "system/shell_link.h"

namespace setuvane {

class Installation {
 public:
  Installation(WizardView& view, archive::FileSystem& files);

  // Start-up: the setup files and the settings; a folder given on the command line
  // then takes the place of the package's.
  bool OpenInstallPackage();
  // Whether the setup files were unpacked at start-up.
  bool PackageOpened() const { return packageOpened_; }

  InstallationSteps Steps();

  archive::TAbUnZipper& zipInstall() { return zipInstall_; }
  ProductInstallation& Product() { return product_; }
  TShellLink& shlLinker() { return shlLinker_; }
  // Whether a system component installer of the medium was started (an unattended
  // run then advises a restart).
  bool ComponentsRan() const { return componentsRan_; }
  // Whether a product file in use waits for the next restart to take its place.
  bool FilesReplacedAtRestart() { return product_.KeptAside().ReplacedAtRestart(); }

 private:
  WizardView& view_;
  archive::FileSystem& files_;
  archive::TAbUnZipper zipInstall_;
  ProductInstallation product_;
  // The shortcut writer serves every block of the shortcut script; what one block
  // does not set it keeps from the one before.
  TShellLink shlLinker_;
  // The record of what the installation changes, its uninstaller and its entry.
  UninstallSetup uninstall_;
  std::string entryKey_;  // the key of the product's entry, which names its lock
  bool recordLossReported_ = false;
  bool packageOpened_ = false;
  bool componentsRan_ = false;
};

}  // namespace setuvane
