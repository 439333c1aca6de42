// Stopping a failed installation.
#pragma once

namespace setuvane {

// Undoes what the installation changed (core/run/installation_undo.h), tells the
// user that it was stopped (and whether its changes were undone), then ends the
// process at once (no further window event runs).
[[noreturn]] void AbortInstallation();

// Removes the run's setup folder and ends the process at once, with exit code 0
// (an unattended run: the code of the stage it is in, core/run/exit_codes.h).
[[noreturn]] void EndProgramAtOnce();

}  // namespace setuvane
