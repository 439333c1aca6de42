#include "core/installation/installation.h"

#include "core/installation/kept_at_restart.h"
#include "core/package/install_package.h"
#include "core/run/abort_installation.h"
#include "core/run/exit_codes.h"
#include "core/uninstallation/product_lock.h"
#include "core/uninstallation/uninstall_setup.h"
#include "core/uninstallation/uninstall_texts.h"
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
  // installation or removal ends this one, and so does a lock that cannot be made.
  if (packageOpened_) {
    entryKey_ = EntryKeyToWrite();
    if (const std::optional<UnattendedExitCode> refused = TakeProductLock(entryKey_)) {
      SetEndingExitCode(*refused);
      EndProgramAtOnce();
    }
  }
  if (packageOpened_ && ProgramSwitches().folder) ProductLocation = *ProgramSwitches().folder;
  if (packageOpened_) JournalNote("package: " + InstallPackage().path);
  return packageOpened_;
}

InstallationSteps Installation::Steps() {
  // A step that changes the machine stops before its next change once the record
  // cannot be written (it returns false), and fails here, after the one report.
  const auto recorded = [this](bool done) {
    if (uninstall_.Kept()) return done;
    if (!recordLossReported_) {
      const ReportTexts& r = UninstallText().recordNotWritten;
      ReportProblem(r.title, r.message, FormatOne(r.hint, uninstall_.RecordPath()), r.details);
      JournalNote("installation stopped: the uninstall record cannot be written: " + uninstall_.RecordPath());
      recordLossReported_ = true;
    }
    return false;
  };
  return {
      .preparePayload = [this] { return product_.PreparePayload(); },
      .installProductFiles =
          [this, recorded] {
            KeepAtRestart(PathsInstalled(product_.zipPacker(), ProductLocation, ProductUninstall));
            return recorded(uninstall_.Begin(ProductLocation, InstallPackage().file.get(), entryKey_) &&
                            product_.InstallProductFiles());
          },
      .installSystemComponents =
          [this] {
            const std::vector<ComponentRun> runs = SystemComponentsToRun(ComponentFolder());
            componentsRan_ = !runs.empty();
            return RunSystemComponents(
                runs, [this](const std::string& status) { view_.SetProgressCaption(status); },
                [this] { view_.ProcessMessages(); });
          },
      .runRegistryScript =
          [recorded] { return recorded(RunRegistryScript(SetupFolder, ProductLocation, StepReporter())); },
      .runShortcutScript =
          [this, recorded] {
            if (!recorded(RunShortcutScript(shlLinker_, SetupFolder, ProductLocation, StepReporter()))) return false;
            uninstall_.Finish();
            return true;
          },
  };
}

}  // namespace setuvane
