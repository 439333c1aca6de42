// The product's entry among Windows' installed programs, read back: whether this
// program made it (its uninstall command runs an uninstaller of ours), where that
// uninstaller and its record lie, and the record's seal (its length and SHA-256
// digest, which only an administrator can change: the entry is in
// HKEY_LOCAL_MACHINE). An entry that another installer made is never ours to
// change or delete.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/uninstallation/uninstall_record.h"

namespace setuvane {

inline constexpr char kUninstallerName[] = "uninstall.exe";
inline constexpr char kUninstallRecordName[] = "uninstall.dat";
// Beneath HKEY_LOCAL_MACHINE; a 32-bit program's view of it is the one Windows'
// list of programs reads for 32-bit products.
inline constexpr char kUninstallKeysPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The switch that starts the uninstaller ("/UNINSTALL", core/run/switches.h).
inline constexpr char kUninstallSwitch[] = "/UNINSTALL";
// The entry's value that holds the record's seal, "LENGTH:DIGEST"; entries of the
// releases before held the length in a value of its own and the digest alone.
inline constexpr char kRecordDigestValue[] = "SetuvaneRecordDigest";
inline constexpr char kRecordLengthValue[] = "SetuvaneRecordLength";

struct UninstallEntryValue {
  std::string name;
  std::uint32_t type = 0;  // kRegSz or kRegDword
  std::string text;
  std::uint32_t number = 0;
};

struct UninstallEntry {
  std::string keyName;
  std::vector<UninstallEntryValue> values;
};

// The entry's values that name its uninstaller and the uninstaller's folder (the
// uninstall commands, InstallLocation, DisplayIcon), under `keyName`.
UninstallEntry UninstallerValuesFor(const std::string& uninstaller, const std::string& keyName);

// Writes the entry through the current registry; false when a key or value failed.
bool WriteUninstallEntry(const UninstallEntry& entry);

// The entry's key beneath HKEY_LOCAL_MACHINE.
std::string EntryKeyPath(const std::string& keyName);

// The uninstaller and its record in a program folder (ending in "\"). A folder
// holds one product's pair under the plain names; another product installed into
// the same folder takes "uninstall2.exe" and "uninstall2.dat", and so on.
std::string UninstallerPath(const std::string& folder, int slot);
std::string RecordPathOfUninstaller(const std::string& uninstaller);

struct ExistingEntry {
  bool ours = false;        // its uninstall command runs an uninstaller of this program
  std::string uninstaller;  // that uninstaller (ours only)
  std::string location;     // InstallLocation
  std::string displayName;  // DisplayName
  std::string publisher;    // Publisher
  std::optional<RecordSeal> seal;  // none in the entries of the first releases
};

// The entry of that key, nullopt when there is none.
std::optional<ExistingEntry> ReadExistingEntry(const std::string& keyName);

// The key this installation's entry takes for the product whose key is
// `productKey`: that key when it is free or ours; when another installer made it,
// the first of "<key> (2)" … "<key> (9)" that is ours, else the first that is free;
// nullopt when there is none.
std::optional<std::string> OwnEntryKey(const std::string& productKey);

// Stores the seal in the entry (created when missing).
bool WriteRecordSeal(const std::string& keyName, const RecordSeal& seal, bool lasting);
RecordSealer EntrySealer(const std::string& keyName);

}  // namespace setuvane
