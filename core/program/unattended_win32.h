// The two unattended ways to run the installer: /SILENT shows the main window on
// its install page only, /VERYSILENT creates no window at all. Both return the
// program's exit code.
#pragma once

#include "core/run/switches.h"

namespace setuvane {

int RunSilent(const Switches& switches);
int RunVerySilent(const Switches& switches);

}  // namespace setuvane
