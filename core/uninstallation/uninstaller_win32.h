// The uninstaller: setuvane.exe started with /UNINSTALL. The copy in the program
// folder cannot remove itself while it runs, so it copies itself to the temporary
// folder, starts that copy with the record's path and waits for it, and ends with
// its exit code; the copy shows the installer's window on its install page (or,
// with /VERYSILENT, nothing) and removes the product.
#pragma once

#include <optional>

#include "core/run/switches.h"

namespace setuvane {

// The uninstaller of the program folder (/UNINSTALL without a record): runs its
// copy and ends with its exit code; nullopt when the copy cannot be made or
// started (reported to the user in an interactive run).
std::optional<int> RunUninstallerCopy(const Switches& switches);

// The copy's work (/UNINSTALL="record"); the program folder's uninstaller as above,
// ending with 4 where the copy does not start.
int RunUninstaller(const Switches& switches);

}  // namespace setuvane
