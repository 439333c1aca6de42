// Putting back one registry value that an installation wrote: its earlier data
// written back byte for byte, or the value deleted when it had none. Shared by
// the removal and by undoing a run that did not finish.
#pragma once

#include "core/uninstallation/user_hive.h"
#include "system/uninstall_items.h"

namespace setuvane {

enum class ValueUndo {
  kDone,       // written back or deleted
  kKeyGone,    // its key is gone, and the value with it
  kNotOpened,  // its key is there but will not open
  kFailed,     // the write or the deletion failed
};

// Undoes the value item at `place` (the key where the item's account keeps it);
// the log says what became of it when it was undone.
ValueUndo UndoRegistryValue(Registry& registry, const RegistryPlace& place, const UninstallItem& item);

// The value as the log and the reports name it: root, key path and name.
std::string ValueName(const UninstallItem& item);

}  // namespace setuvane
