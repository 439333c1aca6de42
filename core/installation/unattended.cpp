#include "core/installation/unattended.h"

#include "core/run/exit_codes.h"
#include "core/run/installation_undo.h"
#include "core/run/main_window_texts.h"
#include "core/run/installer_state.h"
#include "core/package/settings.h"
#include "dialogs/uncaught_failure.h"
#include "system/install_journal.h"
#include "system/system_actions.h"

namespace setuvane {

int RunUnattended(const UnattendedRun& run) {
  if (!run.packageOpened) return kExitPackageUnreadable;
  PageIndex = scrLocation.page;
  run.wizard.ShowPage();
  JournalNote("folder: " + ProductLocation);
  if (run.beforeInstalling) run.beforeInstalling();
  EnteringStage(kExitStepFailed);
  try {
    run.wizard.btnNextClick();
  } catch (const std::exception& failure) {
    // As in the window: the failure is reported and the remaining steps do not
    // run; what the installation changed is undone, as after a failed step.
    ReportUncaughtFailure(failure.what());
    if (UndoInstallation()) JournalNote(MainWindowText().changesUndone);
    return kExitStepFailed;
  }
  if (CurrentPage == &scrLocation) return kExitFolderRefused;
  if (CurrentPage != &scrComplete) return kExitStepFailed;
  if (run.switches.restart) {
    JournalNote("restart requested");
    ShutDownWindows(kShutdownRestart);
    return kExitInstalled;
  }
  const bool restartAdvised =
      (run.componentsRan && run.componentsRan()) || (run.filesAtRestart && run.filesAtRestart());
  return restartAdvised ? kExitRestartAdvised : kExitInstalled;
}

}  // namespace setuvane
