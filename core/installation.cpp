#include "core/installation.h"

#include "core/install_package.h"

namespace setuvane {

Installation::Installation(WizardView& view, archive::FileSystem& files)
    : view_(view), files_(files), zipInstall_(files), product_(view, files) {}

bool Installation::OpenInstallPackage() { return setuvane::OpenInstallPackage(zipInstall_, files_); }

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
