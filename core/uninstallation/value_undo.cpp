#include "core/uninstallation/value_undo.h"

#include "system/install_journal.h"

namespace setuvane {

std::string ValueName(const UninstallItem& item) { return item.root + "\\" + item.path + " \"" + item.name + "\""; }

ValueUndo UndoRegistryValue(Registry& registry, const RegistryPlace& place, const UninstallItem& item) {
  const std::optional<Registry::Key> key = registry.OpenKey(place.root, place.path);
  if (!key) {
    if (!registry.KeyMissing(place.root, place.path)) return ValueUndo::kNotOpened;
    JournalNote("already gone: " + ValueName(item) + " (its key is gone)");
    return ValueUndo::kKeyGone;
  }
  const bool done = item.prior ? registry.RestoreValue(*key, item.name, *item.prior) : registry.DeleteValue(*key, item.name);
  registry.CloseKey(*key);
  if (!done) return ValueUndo::kFailed;
  JournalNote((item.prior ? "restored registry value: " : "removed registry value: ") + ValueName(item));
  return ValueUndo::kDone;
}

}  // namespace setuvane
