// Undoing what an uninstall record lists, in this order: the shortcuts and the
// folders made for them, the registry values (an earlier value gets its data back)
// and the keys created, the files, the record and the uninstaller, the folders
// created when they are empty, and last the product's entry. A step that fails
// leaves what it could not undo in the record, and the entry stays for another try.
#pragma once

#include <string>
#include <vector>

#include "core/wizard/wizard_view.h"
#include "system/uninstall_items.h"

namespace setuvane {

struct UninstallRun {
  WizardView& view;          // the install page's caption and bars
  std::string recordPath;    // the record beside the uninstaller
  bool ask = true;           // a person is there: the question first, a notice at the end
};

// The exit code of the uninstallation (core/run/exit_codes.h).
int RemoveInstallation(const UninstallRun& run, std::vector<UninstallItem> items);

}  // namespace setuvane
