// The next start after a run of the product's installation that a kill or a power
// cut stopped. Before the installer or the uninstaller does its own work it
// finishes that run from the record: a run that never reached its end is undone
// (a person at the screen is asked first), one stopped while it was ending drops
// what it kept. So the machine never keeps files of two versions.
#pragma once

#include <string>

#include "core/uninstallation/run_rollback.h"

namespace setuvane {

enum class StoppedRun {
  kNone,      // the record's last run ended and kept nothing (or there is no record)
  kFinished,  // undone, or its end completed
  kDeclined,  // the person said "Nie": nothing was changed
  kFailed,    // not all of it could be undone (reported); the record keeps it for another try
};

// For the record `run` (as its entry seals it); `ask`: a person is there.
StoppedRun FinishStoppedRun(const RecordedRun& run, bool ask);

// The same for the product whose key is `productKey` (ProductEntryKey), its
// record found through its own entry and only as far as the entry vouches for it.
StoppedRun FinishProductsStoppedRun(const std::string& productKey, bool ask);

}  // namespace setuvane
