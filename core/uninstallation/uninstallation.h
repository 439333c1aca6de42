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

#include <string>

#include "core/wizard_view.h"

namespace setuvane {

struct UninstallRun {
  WizardView& view;          // the install page's caption and bars
  std::string recordPath;    // the record beside the uninstaller
  bool ask = true;           // a person is there: the question first, a notice at the end
};

// The exit code (core/exit_codes.h): removed, removed with a restart to finish it,
// a step failed (the rest removed, the entry and the record kept for another try),
// or the user said no.
int RunUninstallation(const UninstallRun& run);

}  // namespace setuvane
