// The seam between the registry script (and the event-log registration, the
// uninstall entry and the uninstaller) and the Windows registry: open or create a
// key, write a value, close a key, one call each. Production code uses the
// process-wide default (Win32 in the Windows build; natively a registry on which
// every operation fails); tests and the package tool's dry run install another one
// with ScopedRegistry. Key paths, value names and texts are the program's UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace setuvane {

// A value's type and data as the registry hands them out (REG_SZ data keeps its
// NUL): on the NT family the stored bytes themselves, UTF-16 for texts.
struct RegistryData {
  std::uint32_t type = 0;
  std::string data;
  // The data as the ANSI calls hand them (texts in the system's code page): what
  // Windows 9x gives, and what records of the first uninstall record version kept.
  // Such data go back through the ANSI calls.
  bool ansiForm = false;
  bool operator==(const RegistryData&) const = default;
};

// What became of a key that was to be deleted only when empty.
enum class KeyDeletion { kDeleted, kMissing, kNotEmpty, kFailed };

// What became of a key that was to exist: made by this call, there already, or
// neither (the call failed).
enum class KeyCreation { kCreated, kExisted, kFailed };

class Registry {
 public:
  // A key handle. The four roots are the predefined handles' values below; the
  // others are whatever the registry hands out.
  using Key = std::uintptr_t;

  virtual ~Registry() = default;

  // RegCreateKeyEx beneath `parent` (REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS):
  // opens the key, creating the missing levels; nullopt when it fails.
  virtual std::optional<Key> CreateKey(Key parent, const std::string& path) = 0;
  // RegOpenKeyEx beneath `parent` (KEY_ALL_ACCESS) without creating anything; an
  // empty path opens `parent` itself again.
  virtual std::optional<Key> OpenKey(Key parent, const std::string& path) = 0;
  // RegSetValueEx; an empty name is the key's default value. The data of a text
  // (REG_SZ, REG_EXPAND_SZ) are the text with its NUL (StringValueData), written as
  // the system keeps texts: UTF-16 on the NT family, the ANSI code page on Windows
  // 9x (false when that cannot hold it). Other data go as they are. False on failure.
  virtual bool SetValue(Key key, const std::string& name, std::uint32_t type, std::string_view data) = 0;
  // RegCloseKey; closing a root does nothing.
  virtual void CloseKey(Key key) = 0;

  // The calls of an uninstallation (and of recording what an installation
  // changed). A registry that cannot answer them fails each one.
  // RegCreateKeyEx beneath `parent` asking only for the access the key grants
  // (MAXIMUM_ALLOWED), the handle closed again: kCreated when this call made the
  // key (REG_CREATED_NEW_KEY), kExisted when it was there (also one that would not
  // open with full access).
  virtual KeyCreation MakeKey(Key, const std::string&) { return KeyCreation::kFailed; }
  // True only when the key is not there (RegOpenKeyEx answers ERROR_FILE_NOT_FOUND);
  // one that is there but cannot be opened is not missing.
  virtual bool KeyMissing(Key, const std::string&) { return false; }
  // RegQueryValueEx: the value's type and data as stored; nullopt when it is missing.
  virtual std::optional<RegistryData> QueryValue(Key, const std::string&) { return std::nullopt; }
  // The text of a REG_SZ or REG_EXPAND_SZ value, up to its NUL; nullopt when the
  // value is missing or holds no text. By default QueryValue's data as the text.
  virtual std::optional<std::string> QueryText(Key key, const std::string& name);
  // Writes back a value as QueryValue gave it, byte for byte; false on failure. By
  // default SetValue with its type and data.
  virtual bool RestoreValue(Key key, const std::string& name, const RegistryData& data) {
    return SetValue(key, name, data.type, data.data);
  }
  // RegDeleteValue; true when the value is gone (also when it was missing).
  virtual bool DeleteValue(Key, const std::string&) { return false; }
  // Deletes the key `path` beneath `parent` only when it holds neither values nor
  // keys (asked first: Windows 9x would delete a whole tree).
  virtual KeyDeletion DeleteEmptyKey(Key, const std::string&) { return KeyDeletion::kFailed; }
  // Deletes the key with its values and every key below it, alike on every Windows
  // (the NT family deletes no key that has subkeys: they go first); true when it is
  // gone, also when it was missing.
  virtual bool DeleteKey(Key, const std::string&) { return false; }
  // RegFlushKey: the key's changes are on the disk when it returns (not only in
  // the system's memory). A registry that keeps nothing on a disk answers true.
  virtual bool FlushKey(Key) { return true; }
};

inline constexpr Registry::Key kHkeyClassesRoot = 0x80000000;
inline constexpr Registry::Key kHkeyCurrentUser = 0x80000001;
inline constexpr Registry::Key kHkeyLocalMachine = 0x80000002;
inline constexpr Registry::Key kHkeyUsers = 0x80000003;
inline constexpr Registry::Key kHkeyCurrentConfig = 0x80000005;

// "HKEY_LOCAL_MACHINE" and the like for a root; empty for any other key.
std::string_view RootKeyName(Registry::Key key);
// The root of such a name; nullopt for any other text.
std::optional<Registry::Key> RootKeyOfName(std::string_view name);

// Registry value types.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegDword = 4;

// The data of a REG_SZ value (the text and its NUL) and of a REG_DWORD value
// (four bytes, least significant first).
std::string StringValueData(std::string_view text);
std::string DwordValueData(std::uint32_t number);

// A registry write that failed where the caller cannot go on; the text names the
// value ("Failed to set data for 'TypesSupported'").
class ERegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text of a failed value write.
std::string FailedToSetDataText(std::string_view valueName);

// The registry the routines talk to.
Registry& CurrentRegistry();

// The real registry of this build: Win32 on Windows; natively one on which every
// operation fails.
Registry& DefaultRegistry();

// Makes the routines talk to another registry for its lifetime.
class ScopedRegistry {
 public:
  explicit ScopedRegistry(Registry& registry);
  ~ScopedRegistry();
  ScopedRegistry(const ScopedRegistry&) = delete;
  ScopedRegistry& operator=(const ScopedRegistry&) = delete;

 private:
  Registry* previous_;
};

}  // namespace setuvane
