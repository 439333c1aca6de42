// The uninstaller: setuvane.exe started with /UNINSTALL. The copy in the program
// folder cannot remove itself while it runs, so it copies itself to the temporary
// folder, starts that copy with the record's path and waits for it, and ends with
// its exit code; the copy shows the installer's window on its install page (or,
// with /VERYSILENT, nothing) and removes the product.
#pragma once

#include "core/run/switches.h"

namespace setuvane {

int RunUninstaller(const Switches& switches);

}  // namespace setuvane
