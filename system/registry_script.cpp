#include "system/registry_script.h"

#include <optional>

#include "system/folder_macros.h"
#include "system/install_journal.h"
#include "system/registry.h"
#include "system/registry_lines.h"
#include "system/setup_text.h"
#include "system/shell_folders.h"
#include "system/text_helpers.h"
#include "system/uninstall_items.h"

namespace setuvane {
namespace {

struct RegistryScriptTexts {
  std::string title, keyMessage, keyHint, valueMessage, valueHint, details;
};

const RegistryScriptTexts& Texts() {
  static const RegistryScriptTexts texts{
      .title = "Problem rejestru",
      .keyMessage = "Utworzenie klucza rejestru jest niemożliwe.",
      .keyHint = "Podczas tworzenia klucza %s wystąpił problem",
      .valueMessage = "Utworzenie wartości rejestru jest niemożliwe.",
      .valueHint = "Podczas tworzenia wartości \"%s\"=\"%s\" typu \"%s\" wystąpił problem: \"%s\"",
      .details = "Dostęp do rejestru systemowego został odwołany.",
  };
  return texts;
}

// The script's one registry handle: a current root (HKEY_CURRENT_USER at the
// start) and at most one open key, kept from the first line to the last.
class ScriptRegistry {
 public:
  explicit ScriptRegistry(Registry& registry) : registry_(registry) {}
  ~ScriptRegistry() { CloseOpenKey(); }
  ScriptRegistry(const ScriptRegistry&) = delete;
  ScriptRegistry& operator=(const ScriptRegistry&) = delete;

  // Choosing another root closes the open key; choosing the current one keeps it.
  void SelectRoot(Registry::Key root) {
    if (root == root_) return;
    CloseOpenKey();
    root_ = root;
  }

  // Opens the path, creating missing keys, and makes it the open key: beneath the
  // root when the path begins with "\" (which is dropped) or no key is open, else
  // beneath the open key. An empty path opens the base itself again. When the
  // key does not open, the open key stays as it was.
  bool OpenKey(const std::string& path) {
    const bool fromRoot = !path.empty() && path[0] == '\\';
    const std::string subPath = fromRoot ? path.substr(1) : path;
    const bool beneathOpenKey = !fromRoot && openKey_;
    const Registry::Key base = beneathOpenKey ? *openKey_ : root_;
    const std::string basePath = beneathOpenKey ? openKeyPath_ : std::string();
    const std::vector<std::string> missing = UninstallRecording() ? MissingKeys(basePath, subPath) : std::vector<std::string>();
    {
      UninstallItemBatch batch;
      for (const std::string& level : missing) RecordUninstallItem(KeyItem(std::string(RootKeyName(root_)), level));
    }
    if (!UninstallRecordKept()) return false;
    for (const std::string& level : missing) {
      if (registry_.MakeKey(root_, level) != KeyCreation::kCreated)
        JournalNote("registry key not made by this installation: " + level);
    }
    std::optional<Registry::Key> key =
        subPath.empty() ? registry_.OpenKey(base, subPath) : registry_.CreateKey(base, subPath);
    if (!key) return false;
    std::string name = beneathOpenKey ? openKeyName_ : std::string(RootKeyName(root_));
    if (!subPath.empty()) name += "\\" + subPath;
    CloseOpenKey();
    openKey_ = key;
    openKeyName_ = std::move(name);
    openKeyPath_ = Joined(basePath, subPath);
    JournalNote("registry key: " + openKeyName_);
    return true;
  }

  // Writes into the open key; false when none is open or the write fails.
  bool SetValue(const std::string& name, std::uint32_t type, std::string_view data, const std::string& shown) {
    if (!openKey_) return false;
    std::optional<RegistryData> prior;
    if (UninstallRecording()) prior = registry_.QueryValue(*openKey_, name);
    if (!RecordUninstallItem(ValueItem(std::string(RootKeyName(root_)), openKeyPath_, name, std::move(prior))))
      return false;
    if (!registry_.SetValue(*openKey_, name, type, data)) return false;
    JournalNote("registry value: " + openKeyName_ + " \"" + name + "\" " + shown);
    return true;
  }

 private:
  static std::string Joined(const std::string& base, const std::string& sub) {
    if (base.empty()) return sub;
    return sub.empty() ? base : base + "\\" + sub;
  }

  // The keys that opening `subPath` beneath the key at `basePath` will create,
  // outermost first, as paths from the root, recorded before they are made. Only a
  // level the system reports as not found counts: a key that is there but will
  // not open with full access is another's.
  std::vector<std::string> MissingKeys(const std::string& basePath, const std::string& subPath) {
    std::vector<std::string> missing;
    std::string prefix = basePath;
    for (size_t at = 0; at < subPath.size();) {
      size_t end = subPath.find('\\', at);
      if (end == std::string::npos) end = subPath.size();
      if (end > at) {
        prefix = Joined(prefix, subPath.substr(at, end - at));
        if (!missing.empty() || registry_.KeyMissing(root_, prefix)) missing.push_back(prefix);
      }
      at = end + 1;
    }
    return missing;
  }

  void CloseOpenKey() {
    if (openKey_) registry_.CloseKey(*openKey_);
    openKey_.reset();
  }

  Registry& registry_;
  Registry::Key root_ = kHkeyCurrentUser;
  std::optional<Registry::Key> openKey_;
  std::string openKeyName_;  // root name and path, for the journal
  std::string openKeyPath_;  // path beneath the root, for the uninstall record
};

void RunKeyLine(ScriptRegistry& registry, const std::string& line, const ProblemReporter& report) {
  const RegistryKeyLine key = ParseRegistryKeyLine(line);
  // Through HKEY_CURRENT_USER first: so only a key line for HKEY_CURRENT_USER that
  // follows an open HKEY_CURRENT_USER key opens beneath that key (scripts nest
  // their per-user keys this way).
  registry.SelectRoot(kHkeyCurrentUser);
  registry.SelectRoot(key.root);
  if (registry.OpenKey(key.path)) return;
  const RegistryScriptTexts& texts = Texts();
  report({texts.title, texts.keyMessage, FormatText(texts.keyHint, {key.path}), texts.details});
}

void RunValueLine(ScriptRegistry& registry, const std::string& line, const std::string& programFolder,
                  const ProblemReporter& report) {
  const RegistryValueLine parsed = ParseRegistryValueLine(line);
  const std::string value = SubstituteProgramFolder(ExpandFolderMacros(parsed.value), programFolder);
  auto reportFailure = [&](const std::string& failure) {
    const RegistryScriptTexts& texts = Texts();
    report({texts.title, texts.valueMessage,
            FormatText(texts.valueHint, {parsed.name, value, parsed.typeCode, failure}), texts.details});
  };
  std::int32_t number = 0;
  switch (parsed.type) {
    case RegistryValueType::kOther:
      return;  // read, but neither written nor reported
    case RegistryValueType::kString:
      if (!registry.SetValue(parsed.name, kRegSz, StringValueData(value), "REG_SZ \"" + value + "\"")) {
        reportFailure(FailedToSetDataText(parsed.name));
      }
      return;
    case RegistryValueType::kBoolean:
      number = TextToBoolean(value) ? 1 : 0;
      break;
    case RegistryValueType::kInteger:
      if (std::optional<std::int32_t> parsedNumber = ParseRegistryInteger(value)) {
        number = *parsedNumber;
        break;
      }
      reportFailure(NotAnIntegerText(value));
      return;
  }
  if (!registry.SetValue(parsed.name, kRegDword, DwordValueData(static_cast<std::uint32_t>(number)),
                         "REG_DWORD " + std::to_string(number))) {
    reportFailure(FailedToSetDataText(parsed.name));
  }
}

}  // namespace

bool RunRegistryScript(const std::string& setupFolder, const std::string& programFolder,
                       const ProblemReporter& report) {
  const std::vector<std::string> lines = ReadSetupTextFile(setupFolder + "registry.inf");
  ScriptRegistry registry(CurrentRegistry());
  // Once the uninstall record cannot list a change, nothing more is changed: the
  // script stops, and the key or value it did not make is no problem of its own.
  const ProblemReporter reportWhileRecorded = [&](const Problem& problem) {
    if (UninstallRecordKept()) report(problem);
  };
  for (const std::string& line : lines) {
    switch (RegistryLineKindOf(line)) {
      case RegistryLineKind::kKey: RunKeyLine(registry, line, reportWhileRecorded); break;
      case RegistryLineKind::kValue: RunValueLine(registry, line, programFolder, reportWhileRecorded); break;
      case RegistryLineKind::kIgnored: break;
    }
    if (!UninstallRecordKept()) return false;
  }
  return true;
}

}  // namespace setuvane
