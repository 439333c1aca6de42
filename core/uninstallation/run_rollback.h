// One run of an installation, all or nothing. Until it ends, a run keeps what it
// needs to put the machine back: its lines in the record from its "begin" item on,
// each written ahead of its change; the files it writes over, moved aside beside
// them (a rename on their own volume, nothing copied); and in its "value" items the
// data the registry held. A failed step undoes the run here, and so does the next
// start of the installer or the uninstaller after a run that a kill or a power cut
// stopped. A run that ends drops what it kept (CompleteRun).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "system/uninstall_items.h"

namespace setuvane {

// A record as its entry seals it.
struct RecordedRun {
  std::string recordPath;            // beside its uninstaller
  std::string entryKey;              // the product's entry, which holds the seal
  std::vector<UninstallItem> items;  // the sealed items
};

// The record's last run: where its "begin" item stands and whether an "end"
// follows. Nullopt when the record holds no run's own lines (a record written anew
// after its run ended, or by an earlier release).
struct RunState {
  size_t begin = 0;
  bool ended = false;
};
std::optional<RunState> LastRun(const std::vector<UninstallItem>& items);

// Undoes the record's last run, the latest change first: its shortcuts, registry
// values (their earlier data back) and keys, the files it wrote (a file kept aside
// comes back over its place), the folders it made; then the record and the entry
// are as before the run (after a first installation, both gone). A shared file's
// count that the run added is given up in the record before it is taken away, so a
// stop in between leaves it one too high, never one too low. True when all was
// undone; otherwise the record keeps the run for another try, in which each change
// undone already is undone again as no change at all.
bool RollBackRun(const RecordedRun& run);

// After the run's "end": the files it kept aside go (those in use at the next
// restart), an earlier record in another folder goes with its uninstaller, and the
// record is written anew without the run's own lines, which an older uninstaller
// would take for damage.
void CompleteRun(const RecordedRun& run);

}  // namespace setuvane
