#include "core/installation/installation.h"

#include "core/installation/file_holders.h"
#include "core/installation/files_in_use.h"
#include "core/installation/kept_at_restart.h"
#include "core/package/install_package.h"
#include "core/run/abort_installation.h"
#include "core/run/exit_codes.h"
#include "core/run/installation_undo.h"
#include "core/uninstallation/product_lock.h"
#include "core/uninstallation/stopped_run.h"
#include "core/uninstallation/uninstall_setup.h"
#include "core/uninstallation/uninstall_texts.h"
#include "core/run/problem_reports.h"
#include "system/registry_script.h"
#include "system/shortcut_script.h"
#include "system/system_components.h"
#include "core/run/installer_state.h"
#include "core/package/package_source.h"
#include "core/package/settings.h"
#include "core/wizard/wizard_texts.h"
#include "core/run/switches.h"
#include "system/install_journal.h"
#include "system/text_helpers.h"

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
  // An installation of the product that a stop cut short is finished first.
  if (packageOpened_) {
    switch (FinishProductsStoppedRun(ProductEntryKey(), ProgramSwitches().mode == RunMode::kInteractive)) {
      case StoppedRun::kFailed: EnteringStage(kExitStepFailed); EndProgramAtOnce();
      case StoppedRun::kDeclined: EndProgramAtOnce();
      default: break;
    }
  }
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
            // The programs that hold files to be written over are settled before
            // anything changes; from then on a failure undoes the run
            // (core/run/installation_undo.h), and the programs closed start again.
            std::string holders;
            const FilesInUseRun inUse{.ask = ProgramSwitches().mode == RunMode::kInteractive,
                                      .closeApplications = ProgramSwitches().closeApplications};
            if (!SettleFilesInUse(ProductTargets(product_.zipPacker()), files_, inUse, holders)) return false;
            product_.KeptAside().SetHolders(holders);
            SetInstallationUndo([this] {
              const bool undone = uninstall_.RollBack();
              CurrentFileHolders().RestartClosed();
              return undone;
            });
            KeepAtRestart(PathsInstalled(product_.zipPacker(), ProductLocation, ProductUninstall));
            if (!uninstall_.Begin(ProductLocation, InstallPackage().file.get(), entryKey_)) {
              if (!uninstall_.Kept()) return recorded(false);
              const ReportTexts& r = WizardText().fileNotInstalled;
              ReportProblem(r.title, r.message, r.hint + Quoted(FileNamePart(uninstall_.Uninstaller())),
                            uninstall_.Uninstaller());
              return false;
            }
            return recorded(product_.InstallProductFiles());
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
            SetInstallationUndo(nullptr);
            uninstall_.Finish();
            CurrentFileHolders().RestartClosed();
            return true;
          },
  };
}

}  // namespace setuvane
