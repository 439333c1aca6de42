#include "core/uninstallation/product_entry.h"

#include "system/registry.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

constexpr int kOwnKeysBeside = 9;

std::string KeyBeside(const std::string& productKey, int number) {
  return number == 1 ? productKey : productKey + " (" + std::to_string(number) + ")";
}

// The uninstaller an uninstall command of ours runs: "\"<folder>uninstall….exe\" /UNINSTALL".
std::optional<std::string> OwnUninstallerOf(const std::string& command) {
  const std::string tail = std::string("\" ") + kUninstallSwitch;
  if (command.size() < 2 + tail.size() || command[0] != '"' ||
      AsciiLower(command.substr(command.size() - tail.size())) != AsciiLower(tail))
    return std::nullopt;
  const std::string program = command.substr(1, command.size() - 1 - tail.size());
  if (program.find('"') != std::string::npos) return std::nullopt;
  const std::string name = AsciiLower(program.substr(program.find_last_of('\\') + 1));
  const std::string stem = "uninstall";
  if (name.size() < stem.size() + 4 || name.compare(0, stem.size(), stem) != 0 ||
      name.compare(name.size() - 4, 4, ".exe") != 0)
    return std::nullopt;
  for (size_t i = stem.size(); i < name.size() - 4; ++i)
    if (name[i] < '0' || name[i] > '9') return std::nullopt;
  return program;
}

std::optional<RecordSeal> SealIn(Registry& registry, Registry::Key key) {
  if (!registry.QueryValue(key, kRecordLengthValue) && !registry.QueryValue(key, kRecordDigestValue))
    return std::nullopt;
  // A seal that cannot be read stands: it matches no record, so nothing is trusted.
  const RecordSeal unreadable{0, "unreadable"};
  const std::optional<std::string> digest = registry.QueryText(key, kRecordDigestValue);
  if (!digest) return unreadable;
  // The length inside the digest's value, which one write changes whole; earlier
  // releases kept it in a value of its own.
  const size_t colon = digest->find(':');
  const std::optional<std::uint64_t> length =
      colon != std::string::npos ? UnsignedNumber(digest->substr(0, colon), 10)
                                 : UnsignedNumber(registry.QueryText(key, kRecordLengthValue).value_or(""), 10);
  if (!length) return unreadable;
  return RecordSeal{*length, colon != std::string::npos ? digest->substr(colon + 1) : *digest};
}

std::string Quote(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

UninstallEntry UninstallerValuesFor(const std::string& uninstaller, const std::string& keyName) {
  UninstallEntry entry;
  entry.keyName = keyName;
  const auto text = [&](const char* name, const std::string& value) {
    entry.values.push_back({name, kRegSz, value, 0});
  };
  text("UninstallString", Quote(uninstaller) + " " + kUninstallSwitch);
  text("QuietUninstallString", Quote(uninstaller) + " " + kUninstallSwitch + " /VERYSILENT");
  text("InstallLocation", uninstaller.substr(0, uninstaller.find_last_of('\\') + 1));
  text("DisplayIcon", uninstaller);
  return entry;
}

bool WriteUninstallEntry(const UninstallEntry& entry) {
  Registry& registry = CurrentRegistry();
  std::optional<Registry::Key> key =
      registry.CreateKey(kHkeyLocalMachine, std::string(kUninstallKeysPath) + "\\" + entry.keyName);
  if (!key) return false;
  bool ok = true;
  for (const UninstallEntryValue& value : entry.values) {
    const std::string data = value.type == kRegSz ? StringValueData(value.text) : DwordValueData(value.number);
    ok = registry.SetValue(*key, value.name, value.type, data) && ok;
  }
  registry.CloseKey(*key);
  return ok;
}

std::string EntryKeyPath(const std::string& keyName) { return std::string(kUninstallKeysPath) + "\\" + keyName; }

std::string UninstallerPath(const std::string& folder, int slot) {
  return folder + (slot <= 1 ? std::string("uninstall") : "uninstall" + std::to_string(slot)) + ".exe";
}

std::string RecordPathOfUninstaller(const std::string& uninstaller) {
  return uninstaller.substr(0, uninstaller.size() - 4) + ".dat";
}

std::optional<ExistingEntry> ReadExistingEntry(const std::string& keyName) {
  Registry& registry = CurrentRegistry();
  const std::optional<Registry::Key> key = registry.OpenKey(kHkeyLocalMachine, EntryKeyPath(keyName));
  if (!key) return std::nullopt;
  ExistingEntry entry;
  const std::optional<std::string> uninstaller = OwnUninstallerOf(registry.QueryText(*key, "UninstallString").value_or(""));
  entry.ours = uninstaller.has_value();
  entry.uninstaller = uninstaller.value_or(std::string());
  entry.location = registry.QueryText(*key, "InstallLocation").value_or(std::string());
  entry.displayName = registry.QueryText(*key, "DisplayName").value_or(std::string());
  entry.publisher = registry.QueryText(*key, "Publisher").value_or(std::string());
  entry.seal = SealIn(registry, *key);
  registry.CloseKey(*key);
  return entry;
}

std::optional<std::string> OwnEntryKey(const std::string& productKey) {
  std::optional<std::string> free;
  for (int number = 1; number <= kOwnKeysBeside; ++number) {
    const std::string key = KeyBeside(productKey, number);
    const std::optional<ExistingEntry> entry = ReadExistingEntry(key);
    if (entry && entry->ours) return key;
    if (!entry && !free) free = key;
  }
  return free;
}

bool WriteRecordSeal(const std::string& keyName, const RecordSeal& seal, bool lasting) {
  Registry& registry = CurrentRegistry();
  const std::optional<Registry::Key> key = registry.CreateKey(kHkeyLocalMachine, EntryKeyPath(keyName));
  if (!key) return false;
  // Length and digest in one value, so that a stop never leaves one without the
  // other; the length as text, which reads the same on every Windows.
  bool ok = registry.SetValue(*key, kRecordDigestValue, kRegSz,
                              StringValueData(std::to_string(seal.length) + ":" + seal.digest));
  if (ok && lasting) ok = registry.FlushKey(*key);
  registry.CloseKey(*key);
  return ok;
}

RecordSealer EntrySealer(const std::string& keyName) {
  return [keyName](const RecordSeal& seal, bool lasting) { return WriteRecordSeal(keyName, seal, lasting); };
}

}  // namespace setuvane
