#include "core/uninstallation/user_hive.h"

#include "system/text_compare.h"

namespace setuvane {

std::optional<RegistryPlace> PlaceToUndo(Registry& registry, const std::string& rootName, const std::string& path,
                                         const std::string& installingSid,
                                         const std::optional<std::string>& currentSid) {
  const std::optional<Registry::Key> root = RootKeyOfName(rootName);
  if (!root) return std::nullopt;
  if (*root != kHkeyCurrentUser || installingSid.empty() ||
      (currentSid && SameTextIgnoringCase(*currentSid, installingSid)))
    return RegistryPlace{*root, path};
  // A user's registry is loaded while the user is logged on (or a service of the
  // account runs): it is then a key of its own below HKEY_USERS.
  const std::optional<Registry::Key> hive = registry.OpenKey(kHkeyUsers, installingSid);
  if (!hive) return std::nullopt;
  registry.CloseKey(*hive);
  return RegistryPlace{kHkeyUsers, path.empty() ? installingSid : installingSid + "\\" + path};
}

}  // namespace setuvane
