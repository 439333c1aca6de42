#include "core/uninstallation/uninstall_setup.h"

#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "archive/file_system.h"
#include "core/package/embedded_package.h"
#include "core/package/settings.h"
#include "system/cp1250.h"
#include "system/folder_macros.h"
#include "system/install_journal.h"
#include "core/uninstallation/record_authentication.h"
#include "core/uninstallation/run_rollback.h"
#include "system/machine.h"
#include "system/path_identity.h"
#include "system/registry.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

std::string CleanKeyPart(const std::string& text) {
  std::string clean;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) continue;
    clean += c == '\\' ? '-' : c;
  }
  return TrimControl(clean);
}

// The environment variable that ends the process at once after so many items of
// this run are in the record (tests of an installation stopped half-way).
constexpr char kEndAfterItemsVariable[] = "SETUVANE_END_AFTER_RECORDED";
constexpr std::uint32_t kEndedAtOnceCode = 9;

// How many products' uninstallers one program folder holds at most.
constexpr int kSlotsPerFolder = 9;

// The place of this product's uninstaller in the folder: the one whose record it
// carries over (`adopted`), else the first that holds a record of the same key
// that nothing vouches for any more, or that it claims: the first free one, whose
// record it creates empty there and then, so that another product installed into
// the folder at the same moment takes the next. Nullopt when every one is another
// product's.
std::optional<std::string> OwnUninstallerIn(const std::string& folder, const std::string& key,
                                            const std::optional<std::string>& adopted) {
  UninstallFiles& files = CurrentUninstallFiles();
  for (int slot = 1; slot <= kSlotsPerFolder; ++slot) {
    const std::string uninstaller = UninstallerPath(folder, slot);
    const std::string record = RecordPathOfUninstaller(uninstaller);
    if (adopted && SamePath(record, *adopted)) return uninstaller;
    if (const std::optional<std::string> text = files.ReadWhole(record)) {
      if (ProductKeyNamed(*text) == key) return uninstaller;
      continue;
    }
    if (!files.FileExists(uninstaller) && files.CreateNew(record)) return uninstaller;
  }
  return std::nullopt;
}

bool IsFileItem(const UninstallItem& item) {
  return item.kind == UninstallItemKind::kFile || item.kind == UninstallItemKind::kForeignFile ||
         item.kind == UninstallItemKind::kSharedFile || item.kind == UninstallItemKind::kCountedOut;
}

// A normal path in the form the record's places are found by: letters in capitals.
std::string PlaceKey(const std::string& normalPath) { return UpperCp1250Letters(normalPath); }

// A text cut to at most `bytes` bytes, never inside a UTF-8 letter.
std::string CutAtLetter(std::string text, size_t bytes) {
  if (text.size() <= bytes) return text;
  while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
  text.resize(bytes);
  return text;
}

}  // namespace

std::string UninstallKeyName(const std::string& title, const std::string& publisher) {
  const std::string cleanTitle = CleanKeyPart(title);
  const std::string cleanPublisher = CleanKeyPart(publisher);
  const bool titleNamesPublisher = AsciiLower(cleanTitle + " ").rfind(AsciiLower(cleanPublisher + " "), 0) == 0;
  const std::string name =
      CutAtLetter(cleanPublisher.empty() || titleNamesPublisher ? cleanTitle : cleanPublisher + " " + cleanTitle, 200);
  return name.empty() ? "Setuvane" : name;
}

std::string ProductEntryKey() {
  const std::string id = CutAtLetter(CleanKeyPart(ProductId), 200);
  return id.empty() ? UninstallKeyName(InstallMainTitle, ProductPublisher) : id;
}

std::string EntryKeyToWrite() {
  const std::string key = ProductEntryKey();
  return ProductUninstall ? OwnEntryKey(key).value_or(key) : key;
}

UninstallEntry UninstallEntryFor(const std::string& programFolder, std::uint32_t sizeKb, const std::string& date,
                                 const std::string& uninstallerPath, const std::string& keyName) {
  const std::string uninstaller = uninstallerPath.empty() ? programFolder + kUninstallerName : uninstallerPath;
  UninstallEntry entry;
  entry.keyName = keyName.empty() ? ProductEntryKey() : keyName;
  const auto text = [&](const char* name, const std::string& value) {
    entry.values.push_back({name, kRegSz, value, 0});
  };
  const auto number = [&](const char* name, std::uint32_t value) {
    entry.values.push_back({name, kRegDword, std::string(), value});
  };
  text("DisplayName", InstallMainTitle);
  if (!ProductVersion.empty()) text("DisplayVersion", ProductVersion);
  if (!ProductPublisher.empty()) text("Publisher", ProductPublisher);
  for (UninstallEntryValue& value : UninstallerValuesFor(uninstaller, entry.keyName).values)
    entry.values.push_back(std::move(value));
  number("EstimatedSize", sizeKb);
  text("InstallDate", date);
  number("NoModify", 1);
  number("NoRepair", 1);
  return entry;
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
    if (item.kind == UninstallItemKind::kFile || item.kind == UninstallItemKind::kSharedFile) bytes += item.size;
  return static_cast<std::uint32_t>((bytes + 1023) / 1024);
}

UninstallSetup::~UninstallSetup() {
  if (writer_) SetUninstallRecorder(nullptr);
}

bool UninstallSetup::Begin(const std::string& programFolder, archive::ReadableFile* singleFile,
                           const std::string& entryKey) {
  if (!ProductUninstall || writer_) return true;
  programFolder_ = AddBackslash(FullLongPath(programFolder));
  UninstallFiles& files = CurrentUninstallFiles();
  const std::string key = entryKey.empty() ? EntryKeyToWrite() : entryKey;
  // What an earlier installation of the product recorded is carried over, so
  // that one uninstallation removes what both made; it is found through the
  // product's own entry, and only as far as that entry vouches for it.
  std::vector<UninstallItem> earlier;
  std::optional<std::string> adopted;
  std::string_view earlierState = kEarlierNone;
  if (const std::optional<ExistingEntry> existing = ReadExistingEntry(key); existing && !existing->ours) {
    JournalNote("uninstall entry not written: the keys of " + ProductEntryKey() + " are another installer's");
    return true;
  } else if (existing) {
    const std::string path = RecordPathOfUninstaller(existing->uninstaller);
    const AuthenticRecord record = ReadAuthenticRecord(path);
    if (record.Accepted()) {
      for (const UninstallItem& item : record.items)
        if (!IsRunLine(item.kind)) earlier.push_back(item);
      adopted = path;
      earlierState = !earlier.empty() && earlier.back().kind == UninstallItemKind::kEnd ? kEarlierComplete
                                                                                        : kEarlierUnfinished;
      for (const std::string& line : record.distrusted) JournalNote(line);
    } else if (files.FileExists(path)) {
      JournalNote("uninstall record not carried over: " + path + ": " + record.problem);
    }
  }
  // The record lives in the program folder, so the folder comes first; the
  // levels made for it are the record's first items.
  const std::vector<std::string> missing = MissingFolderLevels(programFolder_);
  try {
    EnsureDirectory(programFolder_);
  } catch (const std::exception&) {
  }
  if (!files.FolderExists(FullLongPath(programFolder_))) {
    JournalNote("uninstall record not written: " + programFolder_ + " cannot be made");
    recordPath_ = programFolder_ + kUninstallRecordName;
    lost_ = true;
    return false;
  }
  const std::optional<std::string> uninstaller = OwnUninstallerIn(programFolder_, key, adopted);
  if (!uninstaller) {
    JournalNote("uninstall record not written: " + programFolder_ + " holds the uninstallers of other products");
    return true;
  }
  const std::string recordPath = RecordPathOfUninstaller(*uninstaller);
  uninstaller_ = *uninstaller;
  recordPath_ = recordPath;
  // An earlier record in another folder stays there until this run ends: undone,
  // the run names it again.
  const std::string elsewhere =
      adopted && !SamePath(*adopted, recordPath) ? adopted->substr(0, adopted->size() - 4) + ".exe" : std::string();
  // The uninstaller before the entry that names it; without it the installation
  // cannot go on, and what was made for it goes again: the record its slot was
  // claimed with (still empty) and the folders.
  if (!WriteUninstallerProgram(*uninstaller, singleFile)) {
    JournalNote("uninstaller not written: " + *uninstaller);
    if (files.ReadWhole(recordPath).value_or("-").empty()) files.RemoveFile(recordPath);
    for (auto level = missing.rbegin(); level != missing.rend(); ++level) files.RemoveEmptyFolder(*level);
    return false;
  }
  entry_ = UninstallEntryFor(programFolder_, EstimatedKilobytes(earlier), TodaysDate(), *uninstaller, key);
  // The first seal writes the entry of a first installation whole. An entry there
  // already keeps its texts until the run has ended: only the uninstaller it
  // names changes with the folder.
  UninstallEntry startEntry = entry_;
  if (earlierState != kEarlierNone)
    startEntry = elsewhere.empty() ? UninstallEntry{key, {}} : UninstallerValuesFor(*uninstaller, key);
  bool entryWritten = false;
  writer_.emplace(files, recordPath,
                  [startEntry, entryWritten](const RecordSeal& seal, bool lasting) mutable {
                    if (!entryWritten) entryWritten = WriteUninstallEntry(startEntry);
                    return entryWritten && WriteRecordSeal(startEntry.keyName, seal, lasting);
                  });
  std::vector<UninstallItem> start = MergeUninstallItems(earlier, {});
  start.push_back(PairItem(UninstallItemKind::kBegin, elsewhere, std::string(earlierState)));
  start.push_back(ProductItem(key, InstallMainTitle));
  for (const std::string& level : missing) start.push_back(PathItem(UninstallItemKind::kFolder, level));
  if (!writer_->Start(start)) {
    JournalNote("uninstall record or entry not written: " + recordPath + ", " + entry_.keyName);
    writer_.reset();
    lost_ = true;
    return false;
  }
  JournalNote("uninstall entry: HKEY_LOCAL_MACHINE\\" + EntryKeyPath(entry_.keyName));
  userSid_ = CurrentMachine().UserSid();
  recordUser_.clear();
  recordedFiles_.clear();
  madeFolders_.clear();
  for (const UninstallItem& item : writer_->Items()) {
    if (item.kind == UninstallItemKind::kUser) recordUser_ = item.path;
    if (IsFileItem(item)) recordedFiles_[PlaceKey(NormalPath(item.path))] = item;
  }
  for (const std::string& level : missing) madeFolders_.insert(PlaceKey(NormalPath(level)));
  const size_t startItems = writer_->Items().size();
  const char* endAfter = std::getenv(kEndAfterItemsVariable);
  const std::uint64_t endAfterItems = endAfter ? UnsignedNumber(endAfter, 10).value_or(0) : 0;
  SetUninstallRecorder([this](const UninstallItem& item) { Announce(item); },
                       [this, startItems, endAfterItems] {
                         const bool kept = writer_->Commit();
                         if (!kept) JournalNote("uninstall record not written on: " + writer_->Path());
                         if (endAfterItems && writer_->Items().size() - startItems >= endAfterItems)
                           CurrentMachine().EndProcessAtOnce(kEndedAtOnceCode);
                         return kept;
                       },
                       {.file = [this](const std::string& path) { return RecordedFile(path); },
                        .madeThisRun = [this](const std::string& folder) {
                          return madeFolders_.count(PlaceKey(folder)) > 0;
                        }});
  return true;
}

void UninstallSetup::Announce(const UninstallItem& item) {
  if (item.root == RootKeyName(kHkeyCurrentUser) && userSid_.value_or(std::string()) != recordUser_) {
    recordUser_ = userSid_.value_or(std::string());
    writer_->Announce(PathItem(UninstallItemKind::kUser, recordUser_));
  }
  if (IsFileItem(item)) recordedFiles_[PlaceKey(NormalPath(item.path))] = item;
  if (item.kind == UninstallItemKind::kFolder) madeFolders_.insert(PlaceKey(NormalPath(item.path)));
  writer_->Announce(item);
}

std::optional<UninstallItem> UninstallSetup::RecordedFile(const std::string& path) const {
  const auto found = recordedFiles_.find(PlaceKey(path));
  if (found == recordedFiles_.end()) return std::nullopt;
  return found->second;
}

bool UninstallSetup::Kept() const { return !lost_ && UninstallRecordKept(); }

void UninstallSetup::Finish() {
  if (!writer_ || !UninstallRecordKept()) return;
  writer_->Add(PathItem(UninstallItemKind::kEnd, std::string()));
  SetUninstallRecorder(nullptr);
  entry_.values = UninstallEntryFor(programFolder_, EstimatedKilobytes(writer_->Items()), TodaysDate(),
                                    uninstaller_, entry_.keyName).values;
  WriteUninstallEntry(entry_);
  if (!writer_->MakeLasting()) JournalNote("uninstall record not sealed: " + writer_->Path());
  // Ended: what the run kept to undo itself goes.
  CompleteRun({writer_->Path(), entry_.keyName, writer_->Items()});
  writer_.reset();
}

bool UninstallSetup::RollBack() {
  if (!writer_) return false;
  SetUninstallRecorder(nullptr);
  const RecordedRun run{writer_->Path(), entry_.keyName, writer_->Items()};
  writer_.reset();
  return RollBackRun(run);
}

}  // namespace setuvane
