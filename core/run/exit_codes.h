// Exit codes of an unattended installation, so that deployment tools can tell
// why it stopped. The interactive wizard always ends with 0.
#pragma once

namespace setuvane {

enum UnattendedExitCode : int {
  kExitInstalled = 0,
  kExitEnvironmentRefused = 1,  // safe mode (and, with a window, no mouse or too few colours)
  kExitPackageUnreadable = 2,   // install.zip missing or unreadable, install.inf unreadable
  kExitFolderRefused = 3,       // the folder page's checks refused the folder
  kExitStepFailed = 4,          // an installation step failed; what was installed stays
  kExitUninstallDeclined = 5,   // the uninstaller was told "Nie"
  kExitBadSwitches = 87,        // ERROR_INVALID_PARAMETER
  kExitAnotherRunning = 1618,   // ERROR_INSTALL_ALREADY_RUNNING: the product's installation or removal runs
  kExitRestartAdvised = 3010,   // ERROR_SUCCESS_REBOOT_REQUIRED: a component ran, no restart asked for
};

// The code with which the program ends at once (after a fatal report or a stopped
// installation) from now on. Only an unattended run sets anything but 0; the
// interactive path keeps 0 on every end.
void EnableUnattendedEndings();
void EnteringStage(UnattendedExitCode codeIfItEndsHere);
int EndingExitCode();
// For the refusals that end every kind of run with their code, the wizard too: a
// single-file installer whose package is cut short or damaged, and another run of
// the same product's installation.
void SetEndingExitCode(UnattendedExitCode code);

}  // namespace setuvane
