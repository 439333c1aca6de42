// What an installation leaves so that it can be undone: the uninstall record
// written as it goes, the uninstaller (this program) in the program folder, and the
// product's entry among Windows' installed programs. A package can turn all of it
// off with "PRODUCT_UNINSTALL=NIE" in install.inf.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/uninstallation/product_entry.h"
#include "core/uninstallation/uninstall_record.h"

namespace setuvane {

namespace archive {
class ReadableFile;
}

// The name of the product's key beneath kUninstallKeysPath: its title, after its
// publisher when it names one that the title does not begin with already, without
// backslashes and control characters. The same product installed again finds the
// same key.
std::string UninstallKeyName(const std::string& title, const std::string& publisher);

// The key of the product of the current settings: its name for the entry, and for
// the lock that lets one installation or uninstallation of it run at a time. The
// package's PRODUCT_ID when it gives one, else the title's key (UninstallKeyName).
std::string ProductEntryKey();

// The key of the entry that an installation of the product writes: its own entry
// under ProductEntryKey or beside it (OwnEntryKey), or ProductEntryKey itself
// where it writes none. The product's lock is named after it.
std::string EntryKeyToWrite();

// The entry of the product of the current settings, installed into
// `programFolder` (ending in "\"), of `sizeKb` kilobytes, on `date` (YYYYMMDD),
// removed by `uninstaller` (by default the plain one in the program folder), under
// `keyName` (by default ProductEntryKey).
UninstallEntry UninstallEntryFor(const std::string& programFolder, std::uint32_t sizeKb, const std::string& date,
                                 const std::string& uninstaller = {}, const std::string& keyName = {});

// Today's local date as YYYYMMDD.
std::string TodaysDate();

// Writes the uninstaller program to `path`: for a single file (`singleFile`, the
// handle its package was checked through) the signed uninstaller it carries, else
// its bare installer; for the folder medium (null) a copy of the running program.
bool WriteUninstallerProgram(const std::string& path, archive::ReadableFile* singleFile);

// The kilobytes of the files among `items`, rounded up.
std::uint32_t EstimatedKilobytes(const std::vector<UninstallItem>& items);

// Set up when the installation starts and finished when it ends; meanwhile every
// item the steps record goes to the record in the program folder.
class UninstallSetup {
 public:
  UninstallSetup() = default;
  ~UninstallSetup();
  UninstallSetup(const UninstallSetup&) = delete;
  UninstallSetup& operator=(const UninstallSetup&) = delete;

  // Before the product files: makes the program folder, writes the uninstaller,
  // starts its record (with what an earlier installation of the product recorded,
  // found through the product's own entry, then this run's "begin") and registers
  // the product under `entryKey` (by default EntryKeyToWrite) with the record's
  // seal, so that even a run stopped half-way can be undone. An entry there
  // already keeps its texts until Finish. Where no record is to be kept (the
  // package turns it off, the entry's keys or the folder's uninstallers are
  // others') the installation goes on without, logged. False when the
  // uninstaller cannot be written, or the record or the entry (then Kept() is
  // false): nothing more may change.
  // `singleFile`: as for WriteUninstallerProgram.
  bool Begin(const std::string& programFolder, archive::ReadableFile* singleFile, const std::string& entryKey = {});
  // True while every change so far is in the record (or none is kept); false
  // once it could not be written: the installation stops before its next change.
  bool Kept() const;
  const std::string& RecordPath() const { return recordPath_; }
  // After the last step: marks the record complete, gives the entry its texts and
  // size and has both last on the disk; then drops what the run kept to undo
  // itself (core/uninstallation/run_rollback.h).
  void Finish();
  // After a failed step: undoes what the run changed, the record and the entry
  // back as they were. True when all of it was undone; false also when nothing
  // was recorded to undo.
  bool RollBack();
  // The uninstaller this run writes (once Begin has chosen it).
  const std::string& Uninstaller() const { return uninstaller_; }

 private:
  // Queues the line of a change to come: after the account's "user" line when
  // it is the first of the run in HKEY_CURRENT_USER.
  void Announce(const UninstallItem& item);
  std::optional<UninstallItem> RecordedFile(const std::string& path) const;

  std::optional<UninstallRecordWriter> writer_;
  UninstallEntry entry_;
  std::string programFolder_;
  std::string uninstaller_;
  std::optional<std::string> userSid_;  // the account this installation runs as
  std::string recordUser_;              // the account the record's last "user" item names
  std::string recordPath_;
  bool lost_ = false;  // the record could not be started
  std::map<std::string, UninstallItem> recordedFiles_;  // the record's files by PlaceKey
  std::set<std::string> madeFolders_;                   // the folders this run made, by PlaceKey
};

}  // namespace setuvane
