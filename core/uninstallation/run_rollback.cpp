#include "core/uninstallation/run_rollback.h"

#include <map>
#include <set>

#include "archive/worker_thread.h"
#include "core/uninstallation/link_on_the_way.h"
#include "core/uninstallation/own_files.h"
#include "core/uninstallation/product_entry.h"
#include "core/uninstallation/uninstall_files.h"
#include "core/uninstallation/uninstall_record.h"
#include "core/uninstallation/user_hive.h"
#include "core/uninstallation/value_undo.h"
#include "system/install_journal.h"
#include "system/machine.h"
#include "system/registry.h"
#include "system/shared_file_counts.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

using Kind = UninstallItemKind;

// The folders of the run that hold the files it kept aside.
std::set<std::string> AsideFolders(const std::vector<UninstallItem>& items, size_t begin) {
  std::set<std::string> folders;
  for (size_t i = begin; i < items.size(); ++i)
    if (items[i].kind == Kind::kAside) folders.insert(items[i].name.substr(0, items[i].name.find_last_of('\\')));
  return folders;
}

UninstallRecordWriter WriterOf(const std::string& recordPath, const std::string& entryKey) {
  return UninstallRecordWriter(CurrentUninstallFiles(), recordPath, EntrySealer(entryKey));
}

// Deletes the files a run kept aside, and returns those in use. Deleting is mostly
// waiting on the file system, so a run of many files deletes them on two threads
// (under Wine an update of 2,000 files spent a quarter of its time here).
constexpr size_t kKeptFilesForTwoThreads = 256;

std::vector<std::string> RemoveKeptFiles(UninstallFiles& files, const std::vector<std::string>& paths) {
  const auto remove = [&files, &paths](size_t from, size_t to, std::vector<std::string>& inUse) {
    for (size_t i = from; i < to; ++i)
      if (files.RemoveFile(paths[i]) == FileRemoval::kInUse) inUse.push_back(paths[i]);
  };
  std::vector<std::string> inUse, inUseByWorker;
  if (paths.size() < kKeptFilesForTwoThreads) {
    remove(0, paths.size(), inUse);
    return inUse;
  }
  const size_t half = paths.size() / 2;
  {
    archive::WorkerThread worker([&] { remove(half, paths.size(), inUseByWorker); });
    remove(0, half, inUse);
    worker.Join();
  }
  inUse.insert(inUse.end(), inUseByWorker.begin(), inUseByWorker.end());
  return inUse;
}

class Rollback {
 public:
  Rollback(const RecordedRun& run, size_t begin)
      : run_(run), items_(run.items), begin_(begin), files_(CurrentUninstallFiles()), registry_(CurrentRegistry()),
        currentSid_(CurrentMachine().UserSid()) {
    std::string user;
    for (size_t i = 0; i < items_.size(); ++i) {
      const UninstallItem& item = items_[i];
      if (item.kind == Kind::kUser) user = item.path;
      accounts_.push_back(user);
      const std::string place = AsciiLower(item.path);
      if (i < begin_ && item.kind == Kind::kSharedFile) earlierShared_.insert(place);
      if (i < begin_ && item.kind == Kind::kShortcut) earlierShortcuts_.insert(place);
      if (i > begin_ && item.kind == Kind::kAside) keptAside_.insert(place);
      if (i > begin_ && item.kind == Kind::kShortcutSum) shortcutSums_[place] = item;
    }
  }

  bool Run() {
    if (!GiveUpCounts()) return false;
    for (size_t i = items_.size(); i-- > begin_ + 1;) Undo(i);
    for (const std::string& folder : AsideFolders(items_, begin_)) RemoveFolder(folder);
    if (!failed_) RestoreRecordAndEntry();
    return !failed_;
  }

 private:
  // The shared files this run counted in (those the earlier record did not count
  // already) become plain files of the run in the record, and only then lose
  // their count: a second rollback never takes it away twice.
  bool GiveUpCounts() {
    std::vector<std::string> counted;
    for (size_t i = begin_ + 1; i < items_.size(); ++i) {
      UninstallItem& item = items_[i];
      if (item.kind != Kind::kSharedFile || earlierShared_.count(AsciiLower(item.path))) continue;
      item.kind = Kind::kFile;
      counted.push_back(item.path);
    }
    if (counted.empty()) return true;
    if (!WriterOf(run_.recordPath, run_.entryKey).Rewrite(items_)) {
      Fail("rollback stopped: the record cannot be written: " + run_.recordPath);
      return false;
    }
    for (const std::string& path : counted)
      if (!CountSharedFileOut(path)) JournalNote("shared file count not written: " + path);
    return true;
  }

  void Undo(size_t i) {
    const UninstallItem& item = items_[i];
    switch (item.kind) {
      case Kind::kShortcut:
        // Written again over the earlier installation's, it points where it did.
        if (earlierShortcuts_.count(AsciiLower(item.path))) return;
        return RemoveShortcut(item.path);
      case Kind::kShortcutFolder:
      case Kind::kFolder: return RemoveFolder(item.path);
      case Kind::kValue: return UndoValue(i);
      case Kind::kKey: return RemoveKey(i);
      case Kind::kPending:
        if (!files_.KeepAtRestart({item.name}).empty()) JournalNote("no longer replaced at the next restart: " + item.path);
        return;
      case Kind::kAside: return MoveBack(item.name, item.path);
      case Kind::kFile:
      case Kind::kForeignFile:
      case Kind::kSharedFile:
        // A file written over comes back with its line "aside".
        if (!keptAside_.count(AsciiLower(item.path))) RemoveFile(item.path);
        return;
      default: return;
    }
  }

  void RemoveFile(const std::string& path) {
    if (!files_.FileExists(path) || LinkOnTheWay(files_, path)) return;
    Delete(path);
  }

  // A shortcut of the run goes through a link on its way as the removal's would
  // (MayGoThroughLink): left, it would outlive the entry that could remove it.
  void RemoveShortcut(const std::string& path) {
    if (!files_.FileExists(path)) return;
    if (const std::optional<std::string> link = LinkOnTheWay(files_, path)) {
      const std::string programFolder = run_.recordPath.substr(0, run_.recordPath.find_last_of('\\'));
      const auto sum = shortcutSums_.find(AsciiLower(path));
      if (!MayGoThroughLink(*link, path, programFolder, [&] {
            return sum != shortcutSums_.end() && ShortcutAsWritten(files_, path, sum->second);
          })) {
        JournalNote("stayed: " + path + " (a junction or symbolic link on the way: " + *link + ")");
        return;
      }
    }
    Delete(path);
  }

  void Delete(const std::string& path) {
    switch (files_.RemoveFile(path)) {
      case FileRemoval::kRemoved:
      case FileRemoval::kMissing: JournalNote("removed: " + path); return;
      case FileRemoval::kInUse:
        if (!files_.RemoveAtRestart(path)) break;
        JournalNote("in use, removed at the next restart: " + path);
        return;
      case FileRemoval::kFailed: break;
    }
    Fail("not removed: " + path);
  }

  void MoveBack(const std::string& aside, const std::string& path) {
    if (!files_.FileExists(aside) || LinkOnTheWay(files_, path)) return;
    if (files_.Replace(aside, path)) {
      JournalNote("put back: " + path);
    } else if (files_.ReplaceAtRestart(aside, path)) {
      JournalNote("in use, put back at the next restart: " + path);
    } else {
      Fail("not put back: " + path + " (it is kept as " + aside + ")");
    }
  }

  // A folder that holds something else stays; that is no failure.
  void RemoveFolder(const std::string& path) {
    if (files_.FolderExists(path) && !LinkOnTheWay(files_, path) && files_.RemoveEmptyFolder(path))
      JournalNote("removed folder: " + path);
  }

  // Another account's HKEY_CURRENT_USER whose registry is not loaded is left as
  // the removal leaves it.
  std::optional<RegistryPlace> Place(size_t i) {
    const UninstallItem& item = items_[i];
    return PlaceToUndo(registry_, item.root, item.path, accounts_[i], currentSid_);
  }

  void UndoValue(size_t i) {
    const std::optional<RegistryPlace> place = Place(i);
    if (!place) {
      JournalNote("stayed: " + ValueName(items_[i]) + " (in the registry of the account that installed it, " +
                  accounts_[i] + ", which is not loaded)");
      return;
    }
    const ValueUndo undo = UndoRegistryValue(registry_, *place, items_[i]);
    if (undo != ValueUndo::kDone && undo != ValueUndo::kKeyGone) Fail("not restored: " + ValueName(items_[i]));
  }

  void RemoveKey(size_t i) {
    const std::optional<RegistryPlace> place = Place(i);
    if (!place) return;
    switch (registry_.DeleteEmptyKey(place->root, place->path)) {
      case KeyDeletion::kDeleted: JournalNote("removed registry key: " + items_[i].root + "\\" + items_[i].path); return;
      case KeyDeletion::kMissing:
      case KeyDeletion::kNotEmpty: return;
      case KeyDeletion::kFailed: Fail("not removed: " + items_[i].root + "\\" + items_[i].path); return;
    }
  }

  // The record as it was before the run, sealed by the entry: after a first
  // installation both go (the entry last); an earlier record in another folder
  // is named by the entry again, and this folder's record goes.
  void RestoreRecordAndEntry() {
    const UninstallItem& begin = items_[begin_];
    std::vector<UninstallItem> earlier(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(begin_));
    if (begin.name == kEarlierComplete) earlier.push_back(PathItem(Kind::kEnd, std::string()));
    if (begin.name == kEarlierNone) {
      RemoveRecordAndUninstaller(files_, run_.recordPath);
      RemoveFolders();
      if (!registry_.DeleteKey(kHkeyLocalMachine, EntryKeyPath(run_.entryKey)))
        Fail("uninstall entry not removed: " + run_.entryKey);
      return;
    }
    if (begin.path.empty()) {
      if (!WriterOf(run_.recordPath, run_.entryKey).Rewrite(earlier))
        Fail("uninstall record not written: " + run_.recordPath);
      return;
    }
    if (!WriteUninstallEntry(UninstallerValuesFor(begin.path, run_.entryKey)) ||
        !WriterOf(RecordPathOfUninstaller(begin.path), run_.entryKey).Rewrite(earlier)) {
      Fail("uninstall record not written: " + RecordPathOfUninstaller(begin.path));
      return;
    }
    RemoveRecordAndUninstaller(files_, run_.recordPath);
    RemoveFolders();
  }

  // The run's folders once more: the program folder held the record until now.
  void RemoveFolders() {
    for (size_t i = items_.size(); i-- > begin_ + 1;)
      if (items_[i].kind == Kind::kFolder) RemoveFolder(items_[i].path);
  }

  void Fail(const std::string& note) {
    JournalNote(note);
    failed_ = true;
  }

  const RecordedRun& run_;
  std::vector<UninstallItem> items_;
  const size_t begin_;
  UninstallFiles& files_;
  Registry& registry_;
  const std::optional<std::string> currentSid_;
  std::vector<std::string> accounts_;       // by item: the account of its HKEY_CURRENT_USER
  std::set<std::string> earlierShared_;     // paths in lower case
  std::set<std::string> earlierShortcuts_;
  std::set<std::string> keptAside_;
  std::map<std::string, UninstallItem> shortcutSums_;  // the run's, by path in lower case
  bool failed_ = false;
};

}  // namespace

std::optional<RunState> LastRun(const std::vector<UninstallItem>& items) {
  for (size_t i = items.size(); i-- > 0;) {
    if (items[i].kind != Kind::kBegin) continue;
    RunState state{i, false};
    for (size_t j = i + 1; j < items.size(); ++j) state.ended = state.ended || items[j].kind == Kind::kEnd;
    return state;
  }
  return std::nullopt;
}

bool RollBackRun(const RecordedRun& run) {
  const std::optional<RunState> state = LastRun(run.items);
  if (!state || state->ended) return true;
  JournalNote("undoing the installation that did not finish: " + run.recordPath);
  const bool done = Rollback(run, state->begin).Run();
  JournalNote(done ? "the installation's changes were undone" : "the installation's changes were not all undone");
  return done;
}

void CompleteRun(const RecordedRun& run) {
  const std::optional<RunState> state = LastRun(run.items);
  if (!state || !state->ended) return;
  UninstallFiles& files = CurrentUninstallFiles();
  std::vector<UninstallItem> kept;
  std::vector<std::string> aside;
  for (size_t i = 0; i < run.items.size(); ++i) {
    const UninstallItem& item = run.items[i];
    if (!IsRunLine(item.kind)) kept.push_back(item);
    if (i >= state->begin && item.kind == Kind::kAside) aside.push_back(item.name);
  }
  bool atRestart = false;
  for (const std::string& path : RemoveKeptFiles(files, aside)) {
    if (!files.RemoveAtRestart(path)) continue;
    JournalNote("in use, removed at the next restart: " + path);
    atRestart = true;
  }
  // A folder still holding a file in use goes after it at the restart (where the
  // system can: not Windows 9x).
  for (const std::string& folder : AsideFolders(run.items, state->begin))
    if (files.FolderExists(folder) && !files.RemoveEmptyFolder(folder) && atRestart) files.RemoveAtRestart(folder);
  const std::string& elsewhere = run.items[state->begin].path;
  if (!elsewhere.empty()) {
    files.RemoveFile(RecordPathOfUninstaller(elsewhere));
    files.RemoveFile(elsewhere);
  }
  if (!WriterOf(run.recordPath, run.entryKey).Rewrite(MergeUninstallItems(kept, {PathItem(Kind::kEnd, "")})))
    JournalNote("uninstall record not written anew: " + run.recordPath);
}

}  // namespace setuvane
