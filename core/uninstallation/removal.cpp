#include "core/uninstallation/removal.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "archive/crc32.h"
#include "core/package/product_destinations.h"
#include "core/run/exit_codes.h"
#include "core/run/problem_reports.h"
#include "core/uninstallation/link_on_the_way.h"
#include "core/uninstallation/own_files.h"
#include "core/uninstallation/uninstall_files.h"
#include "core/uninstallation/uninstall_record.h"
#include "core/uninstallation/uninstall_setup.h"
#include "core/uninstallation/uninstall_texts.h"
#include "core/uninstallation/user_hive.h"
#include "core/uninstallation/value_undo.h"
#include "dialogs/application_title.h"
#include "dialogs/message_routines.h"
#include "system/install_journal.h"
#include "system/machine.h"
#include "system/registry.h"
#include "system/shared_file_counts.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

// How many shared files one batch marks counted out in the record before their
// counts go down: each batch costs a write through to the disk and a seal, and a
// removal stopped in the middle of one leaves at most this many counts one too high.
constexpr size_t kCountsTakenOutAhead = 64;

// The environment variable that ends the process at once after so many items are
// undone (tests of a removal stopped half-way), and the exit code it ends with.
constexpr char kEndAfterUndoneVariable[] = "SETUVANE_END_AFTER_UNDONE";
constexpr std::uint32_t kEndedAtOnceCode = 9;

// What became of one item: undone (or no longer ours), left for now without a
// fault (a folder or key that still holds something), or failed.
enum class Outcome { kDone, kLeft, kFailed };

class Removal {
 public:
  Removal(const UninstallRun& run, std::vector<UninstallItem> items)
      : run_(run), files_(CurrentUninstallFiles()), registry_(CurrentRegistry()), items_(std::move(items)),
        done_(items_.size(), false), currentSid_(CurrentMachine().UserSid()) {
    std::string user;
    for (const UninstallItem& item : items_) {
      if (item.kind == UninstallItemKind::kProduct) product_ = item;
      if (item.kind == UninstallItemKind::kUser) user = item.path;
      if (item.kind == UninstallItemKind::kSharedFile || item.kind == UninstallItemKind::kCountedOut)
        sharedFiles_.insert(AsciiLower(item.path));
      if (item.kind == UninstallItemKind::kShortcutSum) shortcutSums_[AsciiLower(item.path)] = item;
      installingSid_.push_back(user);
      if (item.kind != UninstallItemKind::kProduct && item.kind != UninstallItemKind::kEnd &&
          item.kind != UninstallItemKind::kUser && item.kind != UninstallItemKind::kShortcutSum)
        ++total_;
    }
    programFolder_ = run_.recordPath.substr(0, run_.recordPath.find_last_of('\\'));
    const char* endAfter = std::getenv(kEndAfterUndoneVariable);
    endAfterUndone_ = endAfter ? UnsignedNumber(endAfter, 10).value_or(0) : 0;
  }

  int Run() {
    RemoveShortcuts();
    RestoreRegistry();
    RemoveFiles();
    if (failed_) return Incomplete();
    RemoveOwnFiles();
    RemoveFolders();
    if (!RemoveEntry()) return Incomplete();
    return Finish();
  }

 private:
  void RemoveShortcuts() {
    const std::string& caption = UninstallText().removingShortcuts;
    Phase(caption, UninstallItemKind::kShortcut, [this](const UninstallItem& i) { return RemoveFile(i, false); });
    Phase(caption, UninstallItemKind::kShortcutFolder, [this](const UninstallItem& i) { return RemoveFolder(i); });
  }

  // Values first, so that a key created is empty of them when its turn comes.
  void RestoreRegistry() {
    const std::string& caption = UninstallText().removingSettings;
    Phase(caption, UninstallItemKind::kValue, [this](const UninstallItem& i) { return UndoValue(i); });
    Phase(caption, UninstallItemKind::kKey, [this](const UninstallItem& i) { return RemoveKey(i); });
  }

  void RemoveFiles() {
    const std::string& caption = UninstallText().removingFiles;
    Phase(caption, UninstallItemKind::kForeignFile, [](const UninstallItem& i) {
      JournalNote("stayed: " + i.path + " (it was there before the product's first installation)");
      return Outcome::kDone;
    });
    // Counts a removal stopped before took out already, then this product's other counts.
    Phase(caption, UninstallItemKind::kCountedOut, [this](const UninstallItem& i) { return RemoveCountedOutFile(i); });
    Phase(caption, UninstallItemKind::kSharedFile, [this](const UninstallItem& i) { return TakeCountOut(i); });
    // A file an earlier release recorded as its own and a later one counted among
    // the shared files follows the count.
    Phase(caption, UninstallItemKind::kFile, [this](const UninstallItem& i) {
      return sharedFiles_.count(AsciiLower(i.path)) ? Outcome::kDone : RemoveFile(i, true);
    });
  }

  void RemoveFolders() {
    Phase(UninstallText().removingFolders, UninstallItemKind::kFolder,
          [this](const UninstallItem& i) { return RemoveFolder(i); });
  }

  // The product's entry among the installed programs; false (after a report) when
  // it stays.
  bool RemoveEntry() {
    if (product_.path.empty()) return true;
    if (!registry_.DeleteKey(kHkeyLocalMachine, std::string(kUninstallKeysPath) + "\\" + product_.path)) {
      const ReportTexts& r = UninstallText().entryNotRemoved;
      ReportProblem(r.title, r.message, FormatOne(r.hint, product_.path), r.details);
      failed_ = true;
      return false;
    }
    JournalNote("uninstall entry removed: " + product_.path);
    return true;
  }

  int Finish() {
    run_.view.SetOverallPosition(100);
    run_.view.ProcessMessages();
    if (run_.ask) {
      const UninstallTexts& t = UninstallText();
      ShowMessageDialog(ApplicationTitle(),
                        FormatOne(restart_ ? t.removedAtRestartFormat : t.removedFormat, product_.root),
                        kKindWarning);
    }
    return restart_ ? kExitRestartAdvised : kExitInstalled;
  }

  // The items of one kind, the latest first; `place_` is the item's.
  void Phase(const std::string& caption, UninstallItemKind kind,
             const std::function<Outcome(const UninstallItem&)>& undo) {
    run_.view.SetProgressCaption(caption);
    run_.view.ProcessMessages();
    std::vector<size_t> places;
    for (size_t i = items_.size(); i-- > 0;)
      if (items_[i].kind == kind && !done_[i]) places.push_back(i);
    phasePlaces_ = places;
    for (size_t n = 0; n < places.size(); ++n) {
      place_ = places[n];
      phaseAt_ = n;
      const Outcome outcome = undo(items_[places[n]]);
      done_[places[n]] = outcome == Outcome::kDone;
      if (outcome == Outcome::kFailed) failed_ = true;
      ++handled_;
      if (endAfterUndone_ && handled_ >= endAfterUndone_) CurrentMachine().EndProcessAtOnce(kEndedAtOnceCode);
      run_.view.SetInstallPosition(static_cast<int>((n + 1) * 100 / places.size()));
      run_.view.SetOverallPosition(total_ ? static_cast<int>(handled_ * 100 / total_) : 100);
      run_.view.KeepResponsive();
    }
  }

  // This product's count goes; the file goes with the last count, and only when
  // this product put it there. The record stops claiming the count first (its line
  // becomes "countedout", for a batch of the coming ones at once), so that a
  // removal stopped and run again never takes it twice: a stop leaves a count one
  // too high, never one too low. A missing count counts as this product's alone.
  Outcome TakeCountOut(const UninstallItem& item) {
    if (items_[place_].kind != UninstallItemKind::kCountedOut && !CountOutInRecord()) return Outcome::kFailed;
    const std::optional<std::uint32_t> left = CountSharedFileOut(item.path);
    if (!left) {
      items_[place_].kind = UninstallItemKind::kSharedFile;  // not taken: the record left for another try says so
      return SharedCountFailed(item);
    }
    return AfterCountOut(item, *left);
  }

  // A shared file whose count this product took out before: it goes when no
  // product counts it any more.
  Outcome RemoveCountedOutFile(const UninstallItem& item) {
    const std::optional<std::uint32_t> left = SharedFileCount(item.path);
    if (!left) return SharedCountFailed(item);
    return AfterCountOut(item, *left);
  }

  Outcome AfterCountOut(const UninstallItem& item, std::uint32_t left) {
    if (left > 0) {
      JournalNote("stayed: " + item.path + " (a shared file that " + std::to_string(left) +
                  " other installations still use)");
      return Outcome::kDone;
    }
    if (!item.created) {
      JournalNote("stayed: " + item.path + " (a shared file that was there before the product's installation)");
      return Outcome::kDone;
    }
    return RemoveFile(item, true);
  }

  Outcome SharedCountFailed(const UninstallItem& item) {
    const ReportTexts& r = UninstallText().registryNotRestored;
    const std::string value = "HKEY_LOCAL_MACHINE\\" + std::string(kSharedDllsPath) + " \"" + item.path + "\"";
    ReportProblem(r.title, r.message, FormatOne(r.hint, value), r.details);
    JournalNote("not restored: " + value);
    return Outcome::kFailed;
  }

  // Marks the shared files from the current one on, a batch of them, counted out
  // in the record, on the disk and sealed before any of their counts goes down:
  // the first batch by writing the record anew with what is left, the later ones
  // by appending their lines. False after a report when the record cannot be
  // written: no count goes down.
  bool CountOutInRecord() {
    if (recordLost_) return false;
    const size_t end = std::min(phasePlaces_.size(), phaseAt_ + kCountsTakenOutAhead);
    for (size_t n = phaseAt_; n < end; ++n) items_[phasePlaces_[n]].kind = UninstallItemKind::kCountedOut;
    bool written = false;
    if (!record_) {
      record_.emplace(files_, run_.recordPath, EntrySealer(product_.path));
      written = record_->Rewrite(LeftItems());
    } else {
      for (size_t n = phaseAt_; n < end; ++n) record_->Announce(items_[phasePlaces_[n]]);
      written = record_->Commit();
    }
    if (written) return true;
    for (size_t n = phaseAt_; n < end; ++n) items_[phasePlaces_[n]].kind = UninstallItemKind::kSharedFile;
    ReportRecordNotWritten();
    recordLost_ = true;
    return false;
  }

  void ReportRecordNotWritten() {
    const ReportTexts& r = UninstallText().recordNotRewritten;
    ReportProblem(r.title, r.message, FormatOne(r.hint, run_.recordPath), r.details);
    JournalNote("uninstall record not written: " + run_.recordPath);
  }

  std::vector<UninstallItem> LeftItems() const {
    std::vector<UninstallItem> left;
    for (size_t i = 0; i < items_.size(); ++i)
      if (!done_[i] && items_[i].kind != UninstallItemKind::kEnd) left.push_back(items_[i]);
    return left;
  }

  Outcome RemoveFile(const UninstallItem& item, bool mayHoldUserData) {
    if (!files_.FileExists(item.path)) {
      if (files_.FolderExists(item.path) || files_.Answers(item.path)) {
        JournalNote("already gone: " + item.path);
        return Outcome::kDone;
      }
      // Its drive or share does not answer: the file may be there still.
      const ReportTexts& r = UninstallText().fileNotRemoved;
      ReportProblem(r.title, r.message, FormatOne(r.hint, item.path), r.details);
      JournalNote("not removed: " + item.path + " (it cannot be reached)");
      return Outcome::kFailed;
    }
    if (BehindALink(item.path, &item)) return Outcome::kDone;
    if (mayHoldUserData && HoldsUserData(item.path) && Changed(item)) {
      JournalNote("stayed: " + item.path + " (changed since the installation: it holds the user's settings or data)");
      return Outcome::kDone;
    }
    switch (files_.RemoveFile(item.path)) {
      case FileRemoval::kRemoved:
      case FileRemoval::kMissing:
        JournalNote("removed: " + item.path);
        return Outcome::kDone;
      case FileRemoval::kInUse:
        if (files_.RemoveAtRestart(item.path)) {
          JournalNote("in use, removed at the next restart: " + item.path);
          restart_ = true;
          return Outcome::kDone;
        }
        break;
      case FileRemoval::kFailed:
        break;
    }
    const ReportTexts& r = UninstallText().fileNotRemoved;
    ReportProblem(r.title, r.message, FormatOne(r.hint, item.path), r.details);
    JournalNote("not removed: " + item.path);
    return Outcome::kFailed;
  }

  // A junction or symbolic link on the way leads the removal to what someone else
  // put there (a folder replaced by a link to the system's): the item stays, and
  // each such link is reported once. The item is no longer the installation's, so
  // its staying is no failure. A file (`file`) is removed all the same when it is
  // still exactly the product's where the link leads (its size and check value as
  // recorded; a shortcut's bytes as written), unless the link is the item itself or
  // lies in the program folder, where users may have planted it: a desktop or Start
  // menu that Windows or its user moved elsewhere keeps no shortcut behind. A folder
  // the installation made goes, when empty, through a link that one of its files
  // went through.
  bool BehindALink(const std::string& path, const UninstallItem* file = nullptr) {
    const std::optional<std::string> link = LinkOnTheWay(files_, path);
    if (!link) return false;
    if (MayGoThroughLink(*link, path, programFolder_, [&] {
          return file ? ExactlyAsWritten(*file) : provenLinks_.count(AsciiLower(*link)) > 0;
        })) {
      provenLinks_.insert(AsciiLower(*link));
      JournalNote("through a junction or symbolic link (" + *link + "), still as installed: " + path);
      return false;
    }
    JournalNote("stayed: " + path + " (a junction or symbolic link on the way: " + *link + ")");
    if (reportedLinks_.insert(*link).second) {
      const ReportTexts& r = UninstallText().linkOnTheWay;
      ReportProblem(r.title, r.message, FormatOne(r.hint, path), *link);
    }
    return true;
  }

  // Whether the file is the one the installation wrote: a file by its size and
  // CRC-32, a shortcut by the bytes recorded just after it was written.
  bool ExactlyAsWritten(const UninstallItem& item) {
    if (item.kind != UninstallItemKind::kShortcut) return !Changed(item);
    const auto sum = shortcutSums_.find(AsciiLower(item.path));
    return sum != shortcutSums_.end() && ShortcutAsWritten(files_, item.path, sum->second);
  }

  bool Changed(const UninstallItem& item) {
    const std::optional<std::string> data = files_.ReadWhole(item.path);
    if (!data) return true;  // unreadable: better kept than lost
    const std::uint32_t crc =
        archive::Crc32Update(0xFFFFFFFFu, reinterpret_cast<const std::uint8_t*>(data->data()), data->size()) ^
        0xFFFFFFFFu;
    return data->size() != item.size || crc != item.crc;
  }

  // A folder that still holds something (the user's files, another product's)
  // stays; that is no failure.
  Outcome RemoveFolder(const UninstallItem& item) {
    if (!files_.FolderExists(item.path)) return Outcome::kDone;
    if (BehindALink(item.path)) return Outcome::kDone;
    if (files_.RemoveEmptyFolder(item.path)) {
      JournalNote("removed folder: " + item.path);
      return Outcome::kDone;
    }
    if (restart_) {
      if (files_.RemoveAtRestart(item.path)) {
        JournalNote("not empty, removed at the next restart when empty then: " + item.path);
        return Outcome::kDone;
      }
      JournalNote("stayed: " + item.path + " (not empty, and this Windows cannot remove it at restart)");
      return Outcome::kLeft;
    }
    JournalNote("stayed: " + item.path + " (not empty)");
    return Outcome::kLeft;
  }

  // A value whose key is gone went with it. One that cannot be put back (its key
  // is there but will not open, or the write fails) is reported once and stays in
  // the record for another try.
  Outcome UndoValue(const UninstallItem& item) {
    const std::optional<RegistryPlace> place = Place(item);
    if (!place && LeftInOtherAccount(item, ValueName(item))) return Outcome::kDone;
    const ValueUndo undo = place ? UndoRegistryValue(registry_, *place, item) : ValueUndo::kNotOpened;
    if (undo == ValueUndo::kDone || undo == ValueUndo::kKeyGone) return Outcome::kDone;
    const ReportTexts& r = UninstallText().registryNotRestored;
    ReportProblem(r.title, r.message, FormatOne(r.hint, ValueName(item)), r.details);
    JournalNote("not restored: " + ValueName(item) + (undo == ValueUndo::kNotOpened ? " (its key cannot be opened)" : ""));
    return Outcome::kFailed;
  }

  Outcome RemoveKey(const UninstallItem& item) {
    const std::optional<RegistryPlace> place = Place(item);
    const std::string name = item.root + "\\" + item.path;
    if (!place && LeftInOtherAccount(item, name)) return Outcome::kDone;
    switch (place ? registry_.DeleteEmptyKey(place->root, place->path) : KeyDeletion::kFailed) {
      case KeyDeletion::kDeleted: JournalNote("removed registry key: " + name); return Outcome::kDone;
      case KeyDeletion::kMissing: return Outcome::kDone;
      case KeyDeletion::kNotEmpty: JournalNote("stayed: " + name + " (not empty)"); return Outcome::kLeft;
      case KeyDeletion::kFailed: break;
    }
    const ReportTexts& r = UninstallText().keyNotRemoved;
    ReportProblem(r.title, r.message, FormatOne(r.hint, name), r.details);
    return Outcome::kFailed;
  }

  // Where the registry item being undone lies, for the account that installed it.
  std::optional<RegistryPlace> Place(const UninstallItem& item) {
    return PlaceToUndo(registry_, item.root, item.path, installingSid_[place_], currentSid_);
  }

  // An item without a place is another account's HKEY_CURRENT_USER whose registry
  // is not loaded (or of a root no registry has): it stays, logged, and this
  // account's own registry is not touched instead. No failure: only that account
  // could undo it.
  bool LeftInOtherAccount(const UninstallItem& item, const std::string& name) {
    if (!RootKeyOfName(item.root)) return false;
    JournalNote("stayed: " + name + " (in the registry of the account that installed it, " + installingSid_[place_] +
                ", which is not loaded)");
    return true;
  }

  // The record and the uninstaller beside it (core/uninstallation/own_files.h).
  void RemoveOwnFiles() {
    if (BehindALink(run_.recordPath)) return;
    if (RemoveRecordAndUninstaller(files_, run_.recordPath)) restart_ = true;
  }

  int Incomplete() {
    if (!UninstallRecordWriter(files_, run_.recordPath, EntrySealer(product_.path)).Rewrite(LeftItems()))
      ReportRecordNotWritten();
    JournalNote("uninstallation incomplete: the entry and the record stay for another try");
    if (run_.ask)
      ShowMessageDialog(ApplicationTitle(), FormatOne(UninstallText().incompleteFormat, product_.root), kKindWarning);
    return kExitStepFailed;
  }

  const UninstallRun& run_;
  UninstallFiles& files_;
  Registry& registry_;
  std::vector<UninstallItem> items_;
  std::vector<bool> done_;
  const std::optional<std::string> currentSid_;
  std::vector<std::string> installingSid_;  // by item: the account of its HKEY_CURRENT_USER
  std::set<std::string> sharedFiles_;       // paths of the shared files, in lower case
  std::map<std::string, UninstallItem> shortcutSums_;  // the shortcuts as written, by path in lower case
  std::string programFolder_;               // the record's folder
  std::optional<UninstallRecordWriter> record_;  // the record as written during the removal
  bool recordLost_ = false;                 // it could not be written: no count goes down
  std::vector<size_t> phasePlaces_;         // the items of the current phase, in their order
  size_t phaseAt_ = 0;                      // the one being undone
  std::uint64_t endAfterUndone_ = 0;
  std::set<std::string> provenLinks_;       // links through which a file still as installed went
  size_t place_ = 0;                        // the item being undone
  UninstallItem product_;
  size_t total_ = 0;
  size_t handled_ = 0;
  bool failed_ = false;
  bool restart_ = false;
  std::set<std::string> reportedLinks_;
};

}  // namespace

int RemoveInstallation(const UninstallRun& run, std::vector<UninstallItem> items) {
  return Removal(run, std::move(items)).Run();
}

}  // namespace setuvane
