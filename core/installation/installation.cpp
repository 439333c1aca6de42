#include "core/installation/installation.h"

#include "core/installation/kept_at_restart.h"
#include "core/package/install_package.h"
#include "core/run/abort_installation.h"
#include "core/run/exit_codes.h"
#include "core/uninstallation/product_lock.h"
#include "core/uninstallation/uninstall_setup.h"
#include "core/run/problem_reports.h"
#include "system/registry_script.h"
#include "system/shortcut_script.h"
#include "system/system_components.h"
#include "core/run/installer_state.h"
#include "core/package/package_source.h"
#include "core/package/settings.h"
#include "core/run/switches.h"
#include "system/install_journal.h"

namespace setuvane {

Installation::Installation(WizardView& view, archive::FileSystem& files)
    : view_(view), files_(files), zipInstall_(files), product_(view, files) {}

bool Installation::OpenInstallPackage() {
  packageOpened_ = setuvane::OpenInstallPackage(zipInstall_, files_);
  // Before anything is shown or changed: another run of this product's
  // installation or removal ends this one.
  if (packageOpened_ && !HoldProductLock(ProductEntryKey())) {
    SetEndingExitCode(kExitAnotherRunning);
    EndProgramAtOnce();
  }
  if (packageOpened_ && ProgramSwitches().folder) ProductLocation = *ProgramSwitches().folder;
  if (packageOpened_) JournalNote("package: " + InstallPackage().path);
  return packageOpened_;
}

InstallationSteps Installation::Steps() {
  return {
      .preparePayload = [this] { return product_.PreparePayload(); },
      .installProductFiles =
          [this] {
            KeepAtRestart(PathsInstalled(product_.zipPacker(), ProductLocation, ProductUninstall));
            uninstall_.Begin(ProductLocation, InstallPackage().file.get());
            return product_.InstallProductFiles();
          },
      .installSystemComponents =
          [this] {
            const std::vector<ComponentRun> runs = SystemComponentsToRun(ComponentFolder());
            componentsRan_ = !runs.empty();
            return RunSystemComponents(
                runs, [this](const std::string& status) { view_.SetProgressCaption(status); },
                [this] { view_.ProcessMessages(); });
          },
      .runRegistryScript = [] { return RunRegistryScript(SetupFolder, ProductLocation, StepReporter()); },
      .runShortcutScript =
          [this] {
            const bool done = RunShortcutScript(shlLinker_, SetupFolder, ProductLocation, StepReporter());
            uninstall_.Finish();
            return done;
          },
  };
}

}  // namespace setuvane
