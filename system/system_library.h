// Windows only. Loads a DLL from the system folder and nowhere else, so that a DLL
// of the same name beside the installer (on a shared medium) or in the current
// folder is never picked up. Null when the library is not there.
#pragma once

namespace setuvane {

void* LoadSystemLibrary(const char* name);

}  // namespace setuvane
