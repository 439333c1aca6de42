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
  kExitRestartAdvised = 3010,   // ERROR_SUCCESS_REBOOT_REQUIRED: a component ran, no restart asked for
};

// The code with which the program ends at once (after a fatal report or a stopped
// installation) from now on. Only an unattended run sets anything but 0; the
// interactive path keeps 0 on every end.
void EnableUnattendedEndings();
void EnteringStage(UnattendedExitCode codeIfItEndsHere);
int EndingExitCode();
// For the one refusal that ends every kind of run with its code, the wizard too: a
// single-file installer whose package is cut short or damaged.
void SetEndingExitCode(UnattendedExitCode code);

}  // namespace setuvane
