// HKEY_CURRENT_USER is the registry of whoever runs the program. An installation
// records the SID of the account it ran as before its HKEY_CURRENT_USER items
// (a "user" item); when another account uninstalls (another administrator, SYSTEM
// under a deployment tool), those items are undone in the installing account's own
// registry, HKEY_USERS\<SID>, while that account's registry is loaded, and are
// otherwise left: the uninstalling account's own values are never touched.
#pragma once

#include <optional>
#include <string>

#include "system/registry.h"

namespace setuvane {

// Where a registry item is undone: a root and the key path below it.
struct RegistryPlace {
  Registry::Key root = 0;
  std::string path;
  bool operator==(const RegistryPlace&) const = default;
};

// The place of the key `path` below the root named `rootName`, recorded while
// the account `installingSid` ran the installation (empty: no account recorded,
// as on Windows 9x and in the first records), undone by the account `currentSid`.
// Nullopt when the item is to stay: an unknown root, or another account's
// HKEY_CURRENT_USER whose registry is not loaded.
std::optional<RegistryPlace> PlaceToUndo(Registry& registry, const std::string& rootName, const std::string& path,
                                         const std::string& installingSid,
                                         const std::optional<std::string>& currentSid);

}  // namespace setuvane
