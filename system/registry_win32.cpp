// The Windows registry behind the seam: each operation is one registry call (through
// system/wide_or_ansi_registry_win32.h) with the access and options the installer
// uses (KEY_ALL_ACCESS, REG_OPTION_NON_VOLATILE).
#include <windows.h>

#include <vector>

#include "system/registry.h"
#include "system/wide_or_ansi_registry_win32.h"

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

bool IsText(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz; }

// Deletes the key below `parent` after every key below it, deepest first.
LONG DeleteTree(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  LONG result = win32::OpenRegistryKey(parent, path, KEY_ALL_ACCESS, key);
  if (result != ERROR_SUCCESS) return result;
  std::vector<std::string> subkeys;
  result = win32::RegistrySubkeyNames(key, subkeys);
  for (const std::string& subkey : subkeys) {
    if (result != ERROR_SUCCESS) break;
    result = DeleteTree(key, subkey);
  }
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? win32::DeleteRegistryKey(parent, path) : result;
}

class Win32Registry final : public Registry {
 public:
  std::optional<Key> CreateKey(Key parent, const std::string& path) override {
    HKEY key = nullptr;
    if (win32::CreateRegistryKey(ToHkey(parent), path, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return std::nullopt;
    return reinterpret_cast<Key>(key);
  }

  std::optional<Key> OpenKey(Key parent, const std::string& path) override {
    HKEY key = nullptr;
    if (win32::OpenRegistryKey(ToHkey(parent), path, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return std::nullopt;
    return reinterpret_cast<Key>(key);
  }

  KeyCreation MakeKey(Key parent, const std::string& path) override {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (win32::CreateRegistryKey(ToHkey(parent), path, MAXIMUM_ALLOWED, key, &disposition) != ERROR_SUCCESS)
      return KeyCreation::kFailed;
    RegCloseKey(key);
    return disposition == REG_CREATED_NEW_KEY ? KeyCreation::kCreated : KeyCreation::kExisted;
  }

  bool KeyMissing(Key parent, const std::string& path) override {
    HKEY key = nullptr;
    const LONG opened = win32::OpenRegistryKey(ToHkey(parent), path, KEY_QUERY_VALUE, key);
    if (opened == ERROR_SUCCESS) RegCloseKey(key);
    return opened == ERROR_FILE_NOT_FOUND;
  }

  bool SetValue(Key key, const std::string& name, std::uint32_t type, std::string_view data) override {
    const HKEY handle = ToHkey(key);
    const LONG result = IsText(type) ? win32::SetRegistryText(handle, name, type, data.substr(0, data.find('\0')))
                                     : win32::SetRegistryData(handle, name, RegistryData{type, std::string(data)});
    return result == ERROR_SUCCESS;
  }

  void CloseKey(Key key) override {
    if (RootKeyName(key).empty()) RegCloseKey(ToHkey(key));
  }

  std::optional<RegistryData> QueryValue(Key key, const std::string& name) override {
    RegistryData data;
    if (win32::QueryRegistryData(ToHkey(key), name, data) != ERROR_SUCCESS) return std::nullopt;
    return data;
  }

  std::optional<std::string> QueryText(Key key, const std::string& name) override {
    std::string text;
    if (win32::QueryRegistryText(ToHkey(key), name, text) != ERROR_SUCCESS) return std::nullopt;
    return text;
  }

  bool RestoreValue(Key key, const std::string& name, const RegistryData& data) override {
    return win32::SetRegistryData(ToHkey(key), name, data) == ERROR_SUCCESS;
  }

  bool DeleteValue(Key key, const std::string& name) override {
    const LONG result = win32::DeleteRegistryValue(ToHkey(key), name);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }

  KeyDeletion DeleteEmptyKey(Key parent, const std::string& path) override {
    HKEY key = nullptr;
    const LONG opened = win32::OpenRegistryKey(ToHkey(parent), path, KEY_READ, key);
    if (opened == ERROR_FILE_NOT_FOUND) return KeyDeletion::kMissing;
    if (opened != ERROR_SUCCESS) return KeyDeletion::kFailed;
    DWORD subKeys = 0;
    DWORD values = 0;
    // No texts pass here: the ANSI call serves on every system.
    const LONG queried = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                                          nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (queried != ERROR_SUCCESS) return KeyDeletion::kFailed;
    if (subKeys != 0 || values != 0) return KeyDeletion::kNotEmpty;
    return win32::DeleteRegistryKey(ToHkey(parent), path) == ERROR_SUCCESS ? KeyDeletion::kDeleted
                                                                           : KeyDeletion::kFailed;
  }

  bool FlushKey(Key key) override { return RegFlushKey(ToHkey(key)) == ERROR_SUCCESS; }

  bool DeleteKey(Key parent, const std::string& path) override {
    if (path.empty()) return false;  // never the parent itself
    const LONG result = DeleteTree(ToHkey(parent), path);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }
};

}  // namespace

Registry& DefaultRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace setuvane
