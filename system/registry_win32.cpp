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
};

}  // namespace

Registry& DefaultRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace setuvane
