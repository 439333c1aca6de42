#include "core/installation.h"

#include "core/install_package.h"
#include "core/installer_state.h"
#include "core/settings.h"
#include "core/switches.h"
#include "system/install_journal.h"

namespace setuvane {

Installation::Installation(WizardView& view, archive::FileSystem& files)
    : view_(view), files_(files), zipInstall_(files), product_(view, files) {}

bool Installation::OpenInstallPackage() {
  packageOpened_ = setuvane::OpenInstallPackage(zipInstall_, files_);
  if (packageOpened_ && ProgramSwitches().folder) ProductLocation = *ProgramSwitches().folder;
  if (packageOpened_) JournalNote("package: " + LaunchFolder + kPackageName);
  return packageOpened_;
}

InstallationSteps Installation::Steps() {
  return {
      .preparePayload = [this] { return product_.PreparePayload(); },
      .installProductFiles = [this] { return product_.InstallProductFiles(); },
      // The system components, the registry script and the shortcut script join
      // here with the system steps.
      .installSystemComponents = [] { return true; },
      .runRegistryScript = [] { return true; },
      .runShortcutScript = [] { return true; },
  };
}

}  // namespace setuvane
