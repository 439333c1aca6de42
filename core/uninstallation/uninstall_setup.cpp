#include "core/uninstallation/uninstall_setup.h"

#include <ctime>
#include <memory>
#include <vector>

#include "archive/file_system.h"
#include "core/package/embedded_package.h"
#include "core/package/settings.h"
#include "system/folder_macros.h"
#include "system/install_journal.h"
#include "system/machine.h"
#include "system/registry.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

std::string Quote(const std::string& path) { return "\"" + path + "\""; }

std::string CleanKeyPart(const std::string& text) {
  std::string clean;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) continue;
    clean += c == '\\' ? '-' : c;
  }
  return TrimControl(clean);
}

// InstallLocation of the product's existing entry, if any.
std::optional<std::string> RegisteredLocation(const std::string& keyName) {
  Registry& registry = CurrentRegistry();
  std::optional<Registry::Key> key =
      registry.OpenKey(kHkeyLocalMachine, std::string(kUninstallKeysPath) + "\\" + keyName);
  if (!key) return std::nullopt;
  const std::optional<std::string> location = registry.QueryText(*key, "InstallLocation");
  registry.CloseKey(*key);
  if (!location) return std::nullopt;
  return AddBackslash(*location);
}

}  // namespace

std::string UninstallKeyName(const std::string& title, const std::string& publisher) {
  const std::string cleanTitle = CleanKeyPart(title);
  const std::string cleanPublisher = CleanKeyPart(publisher);
  const bool titleNamesPublisher = AsciiLower(cleanTitle + " ").rfind(AsciiLower(cleanPublisher + " "), 0) == 0;
  std::string name = cleanPublisher.empty() || titleNamesPublisher ? cleanTitle : cleanPublisher + " " + cleanTitle;
  if (name.size() > 200) {
    size_t cut = 200;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // never inside a letter
    name.resize(cut);
  }
  return name.empty() ? "Setuvane" : name;
}

std::string ProductEntryKey() { return UninstallKeyName(InstallMainTitle, ProductPublisher); }

UninstallEntry UninstallEntryFor(const std::string& programFolder, std::uint32_t sizeKb, const std::string& date) {
  const std::string uninstaller = programFolder + kUninstallerName;
  UninstallEntry entry;
  entry.keyName = ProductEntryKey();
  const auto text = [&](const char* name, const std::string& value) {
    entry.values.push_back({name, kRegSz, value, 0});
  };
  const auto number = [&](const char* name, std::uint32_t value) {
    entry.values.push_back({name, kRegDword, std::string(), value});
  };
  text("DisplayName", InstallMainTitle);
  if (!ProductVersion.empty()) text("DisplayVersion", ProductVersion);
  if (!ProductPublisher.empty()) text("Publisher", ProductPublisher);
  text("UninstallString", Quote(uninstaller) + " " + kUninstallSwitch);
  text("QuietUninstallString", Quote(uninstaller) + " " + kUninstallSwitch + " /VERYSILENT");
  text("InstallLocation", programFolder);
  text("DisplayIcon", uninstaller);
  number("EstimatedSize", sizeKb);
  text("InstallDate", date);
  number("NoModify", 1);
  number("NoRepair", 1);
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

std::string TodaysDate() {
  const std::time_t now = std::time(nullptr);
  char date[16] = "";
  if (const std::tm* local = std::localtime(&now)) std::strftime(date, sizeof date, "%Y%m%d", local);
  return date;
}

bool WriteUninstallerProgram(const std::string& path, archive::ReadableFile* singleFile) {
  if (singleFile == nullptr) {
    const std::optional<std::string> program = CurrentMachine().ModulePath();
    return program && CurrentUninstallFiles().CopyFileTo(*program, path);
  }
  // A single file would give the uninstaller its whole package: it gets its own
  // uninstaller instead, written beside its place and then moved over an earlier one.
  const std::optional<std::vector<uint8_t>> bare = UninstallerOfSingleFile(*singleFile);
  if (!bare) return false;
  archive::FileSystem& files = archive::NativeFileSystem();
  const std::string written = path + ".new";
  try {
    files.Remove(written);
    const std::unique_ptr<archive::WritableFile> file = files.CreateNew(written);
    if (!file) return false;
    file->Write(bare->data(), bare->size());
    file->Close();
  } catch (const std::exception&) {
    files.Remove(written);
    return false;
  }
  if (files.Replace(written, path)) return true;
  files.Remove(written);
  return false;
}

std::uint32_t EstimatedKilobytes(const std::vector<UninstallItem>& items) {
  std::uint64_t bytes = 0;
  for (const UninstallItem& item : items)
    if (item.kind == UninstallItemKind::kFile) bytes += item.size;
  return static_cast<std::uint32_t>((bytes + 1023) / 1024);
}

UninstallSetup::~UninstallSetup() {
  if (writer_) SetUninstallRecorder(nullptr);
}

void UninstallSetup::Begin(const std::string& programFolder, archive::ReadableFile* singleFile) {
  if (!ProductUninstall || writer_) return;
  programFolder_ = AddBackslash(programFolder);
  UninstallFiles& files = CurrentUninstallFiles();
  const std::string recordPath = programFolder_ + kUninstallRecordName;
  entry_ = UninstallEntryFor(programFolder_, 0, TodaysDate());

  // What an earlier installation of the product recorded is carried over, so
  // that one uninstallation removes what both made.
  std::vector<UninstallItem> earlier;
  std::vector<std::string> records;
  if (std::optional<std::string> location = RegisteredLocation(entry_.keyName)) records.push_back(*location + kUninstallRecordName);
  if (records.empty() || AsciiLower(records[0]) != AsciiLower(recordPath)) records.push_back(recordPath);
  std::vector<std::string> moved;
  for (const std::string& path : records) {
    const std::optional<std::string> text = files.ReadWhole(path);
    if (!text) continue;
    const ParsedUninstallRecord parsed = ParseUninstallRecord(*text);
    if (!parsed.Verified()) {
      JournalNote("uninstall record not carried over: " + path + ": " + parsed.problem);
      continue;
    }
    earlier = MergeUninstallItems(earlier, parsed.items);
    if (AsciiLower(path) != AsciiLower(recordPath)) moved.push_back(path);
  }

  const std::vector<std::string> missing = MissingFolderLevels(programFolder_);
  try {
    EnsureDirectory(programFolder_);
  } catch (const std::exception&) {
  }
  writer_.emplace(files, recordPath);
  std::vector<UninstallItem> start = earlier;
  start.push_back(ProductItem(entry_.keyName, InstallMainTitle));
  if (!files.FolderExists(programFolder_) || !writer_->Start(MergeUninstallItems(start, {}))) {
    JournalNote("uninstall record not written: " + recordPath);
    writer_.reset();
    return;
  }
  SetUninstallRecorder([this](const UninstallItem& item) { writer_->Add(item); });
  RecordCreatedFolders(missing, UninstallItemKind::kFolder);

  // An earlier installation into another folder hands its record over and its
  // uninstaller goes; the folder itself stays listed, for the uninstallation.
  for (const std::string& path : moved) {
    files.RemoveFile(path);
    files.RemoveFile(path.substr(0, path.size() - std::string(kUninstallRecordName).size()) + kUninstallerName);
  }
  if (!WriteUninstallerProgram(programFolder_ + kUninstallerName, singleFile))
    JournalNote("uninstaller not written: " + programFolder_ + kUninstallerName);
  entry_ = UninstallEntryFor(programFolder_, EstimatedKilobytes(writer_->Items()), TodaysDate());
  if (WriteUninstallEntry(entry_)) {
    JournalNote("uninstall entry: HKEY_LOCAL_MACHINE\\" + std::string(kUninstallKeysPath) + "\\" + entry_.keyName);
  } else {
    JournalNote("uninstall entry not written: " + entry_.keyName);
  }
}

void UninstallSetup::Finish() {
  if (!writer_) return;
  writer_->Add(PathItem(UninstallItemKind::kEnd, std::string()));
  SetUninstallRecorder(nullptr);
  entry_ = UninstallEntryFor(programFolder_, EstimatedKilobytes(writer_->Items()), TodaysDate());
  WriteUninstallEntry(entry_);
  writer_.reset();
}

}  // namespace setuvane
