// core/uninstallation/: everything of undoing an installation: the uninstall
// record and its disk seam, what an installation sets up to be undone (the record,
// the uninstaller, the entry among the installed programs), the removal, the
// uninstaller's run and its texts. It uses core/run/, core/package/ and
// core/wizard/; the installation (which writes the record) and the program use it.
//
// Removing an installation: the uninstall record beside the uninstaller is read
// and verified, the user is asked (unless the run is unattended), and what the
// record lists is undone in reverse order: shortcuts and the folders made for
// them, registry values (a value that existed before gets its old data back) and
// the keys created, files, the record and the uninstaller, the folders created
// (each only when empty), and last the product's entry. A settings or data file
// (name ending in "inf" or "mdb") that changed since it was installed stays; so
// does everything the installation did not write. A file in use is removed at the
// next restart. The exit code says how it ended.
#pragma once

#include "core/uninstallation/removal.h"

namespace setuvane {

// The exit code (core/run/exit_codes.h): removed, removed with a restart to finish it,
// a step failed (the rest removed, the entry and the record kept for another try),
// or the user said no.
int RunUninstallation(const UninstallRun& run);

}  // namespace setuvane
