// The uninstall record and the uninstaller beside it, removed when their product
// goes: by the removal, and by undoing a first installation that did not finish.
#pragma once

#include <string>

#include "core/uninstallation/uninstall_files.h"

namespace setuvane {

// Removes the record (and the one being written anew beside it) and its
// uninstaller. The uninstaller may be the program that started this one and waits
// for it: it is moved to the temporary folder (a running program can be moved on
// its volume) and goes from there at the next restart. True when the uninstaller
// itself stays until the restart (Windows 9x moves no running program), which then
// finishes the removal.
bool RemoveRecordAndUninstaller(UninstallFiles& files, const std::string& recordPath);

}  // namespace setuvane
