// Stopping a failed installation.
#pragma once

namespace setuvane {

// Tells the user that the installation was stopped, then ends the process at once
// (no further window event runs); what was installed stays.
[[noreturn]] void AbortInstallation();

// Removes the run's setup folder and ends the process at once, with exit code 0
// (an unattended run: the code of the stage it is in, core/run/exit_codes.h).
[[noreturn]] void EndProgramAtOnce();

}  // namespace setuvane
