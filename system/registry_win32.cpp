// The Windows registry behind the seam: each operation is one Win32 call with the
// access and options the installer uses (KEY_ALL_ACCESS, REG_OPTION_NON_VOLATILE).
#include <windows.h>

#include "system/registry.h"

namespace setuvane {
namespace {

// The seam's root values are the 32-bit predefined handles; this maps them to the
// build's own HKEY constants rather than relying on the two being the same bits.
HKEY ToHkey(Registry::Key key) {
  switch (key) {
    case kHkeyClassesRoot: return HKEY_CLASSES_ROOT;
    case kHkeyCurrentUser: return HKEY_CURRENT_USER;
    case kHkeyLocalMachine: return HKEY_LOCAL_MACHINE;
    case kHkeyUsers: return HKEY_USERS;
    case kHkeyCurrentConfig: return HKEY_CURRENT_CONFIG;
    default: return reinterpret_cast<HKEY>(key);
  }
}

class Win32Registry final : public Registry {
 public:
  std::optional<Key> CreateKey(Key parent, const std::string& path) override {
    HKEY key = nullptr;
    if (RegCreateKeyExA(ToHkey(parent), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    return reinterpret_cast<Key>(key);
  }

  std::optional<Key> OpenKey(Key parent, const std::string& path) override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(ToHkey(parent), path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return std::nullopt;
    return reinterpret_cast<Key>(key);
  }

  bool SetValue(Key key, const std::string& name, std::uint32_t type, std::string_view data) override {
    return RegSetValueExA(ToHkey(key), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  }

  void CloseKey(Key key) override {
    if (RootKeyName(key).empty()) RegCloseKey(ToHkey(key));
  }

  std::optional<RegistryData> QueryValue(Key key, const std::string& name) override {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return std::nullopt;
    std::string data(size, '\0');
    // The value may grow between the two calls: asked again until it fits.
    for (;;) {
      size = static_cast<DWORD>(data.size());
      const LONG result = RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(data.data()), &size);
      if (result == ERROR_SUCCESS) break;
      if (result != ERROR_MORE_DATA) return std::nullopt;
      data.resize(size);
    }
    data.resize(size);
    return RegistryData{type, std::move(data)};
  }

  bool DeleteValue(Key key, const std::string& name) override {
    const LONG result = RegDeleteValueA(ToHkey(key), name.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }

  KeyDeletion DeleteEmptyKey(Key parent, const std::string& path) override {
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(ToHkey(parent), path.c_str(), 0, KEY_READ, &key);
    if (opened == ERROR_FILE_NOT_FOUND) return KeyDeletion::kMissing;
    if (opened != ERROR_SUCCESS) return KeyDeletion::kFailed;
    DWORD subKeys = 0;
    DWORD values = 0;
    const LONG queried = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                                          nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (queried != ERROR_SUCCESS) return KeyDeletion::kFailed;
    if (subKeys != 0 || values != 0) return KeyDeletion::kNotEmpty;
    return RegDeleteKeyA(ToHkey(parent), path.c_str()) == ERROR_SUCCESS ? KeyDeletion::kDeleted : KeyDeletion::kFailed;
  }

  bool DeleteKey(Key parent, const std::string& path) override {
    const LONG result = RegDeleteKeyA(ToHkey(parent), path.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }
};

}  // namespace

Registry& DefaultRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace setuvane
