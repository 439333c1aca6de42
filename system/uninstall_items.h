// What an installation changed, item by item, so that an uninstallation can undo
// it: the folders and files it made, the registry keys it created and the values
// it wrote (with what a value held before), the shortcuts and their folders.
// Unlike the account of system/install_journal.h, which is prose for a person's
// log, these items are kept in the uninstall record (core/uninstallation/uninstall_record.h) that
// the uninstaller reads back. Nothing is recorded unless a recorder is set, so the
// steps can record what they do without knowing whether anyone keeps it. A step
// records a change before it makes it, so that a run stopped in between leaves a
// record of it (an item whose change never came is simply gone already).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "system/registry.h"

namespace setuvane {

enum class UninstallItemKind {
  kProduct,       // path: the key name of the product's entry; text: its display name
  kFolder,        // path: a folder the installation created
  kShortcutFolder,  // path: a folder created to hold a shortcut
  kFile,          // path, size and crc: a file the installation wrote
  kForeignFile,   // path: a file that was there before the installation wrote over it; it stays
  kSharedFile,    // path, size, crc and created: a file counted among the shared files (SharedDLLs)
  kCountedOut,    // as kSharedFile, with this product's count taken out already (by a removal)
  kShortcut,      // path: a shortcut file written
  kShortcutSum,   // path, size and digest: a shortcut as written (recorded just after it)
  kKey,           // root and path: a registry key created
  kValue,         // root, path (of the key) and name: a value written; prior: what it held
  kUser,          // path: the SID of the account whose HKEY_CURRENT_USER the later items name
  kEnd,           // the installation completed
  // Lines of a run that has not finished yet (written over by its end):
  kBegin,         // a run starts; name: what the record held before it ("none", "complete",
                  // "unfinished"); path: the earlier record's uninstaller when it lay elsewhere
  kAside,         // path: a file written over; name: where it is kept until the run ends
  kPending,       // path: a file in use; name: the file written beside it that replaces it at the restart
};

struct UninstallItem {
  UninstallItemKind kind = UninstallItemKind::kEnd;
  std::string path;
  std::string root;  // "HKEY_LOCAL_MACHINE" and the like; for kProduct the display name
  std::string name;  // a value's name (empty: the key's default value); the second field of a PairItem
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  std::optional<RegistryData> prior;  // kValue: the value before the installation wrote it
  // kSharedFile, kCountedOut: the file is the counting products' (it was not
  // there, or had a count), not an earlier owner's who never counted it.
  bool created = false;
  std::string digest;  // kShortcutSum: the SHA-256 of the shortcut's bytes, in hexadecimal
  bool operator==(const UninstallItem&) const = default;
};

// The items by kind, with only the fields each kind has.
inline UninstallItem PathItem(UninstallItemKind kind, std::string path) {
  UninstallItem item;
  item.kind = kind;
  item.path = std::move(path);
  return item;
}
inline UninstallItem ProductItem(std::string keyName, std::string displayName) {
  UninstallItem item = PathItem(UninstallItemKind::kProduct, std::move(keyName));
  item.root = std::move(displayName);
  return item;
}
inline UninstallItem FileItem(std::string path, std::uint64_t size, std::uint32_t crc) {
  UninstallItem item = PathItem(UninstallItemKind::kFile, std::move(path));
  item.size = size;
  item.crc = crc;
  return item;
}
inline UninstallItem SharedFileItem(std::string path, std::uint64_t size, std::uint32_t crc, bool created) {
  UninstallItem item = FileItem(std::move(path), size, crc);
  item.kind = UninstallItemKind::kSharedFile;
  item.created = created;
  return item;
}
// A line whose second path is kept in `name`: kAside, kPending, kBegin.
inline UninstallItem PairItem(UninstallItemKind kind, std::string path, std::string second) {
  UninstallItem item = PathItem(kind, std::move(path));
  item.name = std::move(second);
  return item;
}
inline UninstallItem ShortcutSumItem(std::string path, std::uint64_t size, std::string digest) {
  UninstallItem item = PathItem(UninstallItemKind::kShortcutSum, std::move(path));
  item.size = size;
  item.digest = std::move(digest);
  return item;
}
inline UninstallItem KeyItem(std::string root, std::string path) {
  UninstallItem item = PathItem(UninstallItemKind::kKey, std::move(path));
  item.root = std::move(root);
  return item;
}
inline UninstallItem ValueItem(std::string root, std::string keyPath, std::string name,
                               std::optional<RegistryData> prior) {
  UninstallItem item = PathItem(UninstallItemKind::kValue, std::move(keyPath));
  item.root = std::move(root);
  item.name = std::move(name);
  item.prior = std::move(prior);
  return item;
}

// What the product's record says of the places its files go to. Paths are normal
// (system/path_identity.h NormalPath).
struct RecordedPlaces {
  // The record's item for the file at `path` (kFile, kForeignFile, kSharedFile or
  // kCountedOut), letter case ignored; nullopt when it lists none.
  std::function<std::optional<UninstallItem>(const std::string& path)> file;
  // Whether this run made the folder: nothing lay in it before. A folder that an
  // earlier installation made may hold another product's files since.
  std::function<bool(const std::string& folder)> madeThisRun;
};

// `recorder` receives each item before its change is made; `keep` has every item
// received so far kept where it outlasts the process, and is called before the
// change (once per batch, see UninstallItemBatch): false when they could not be
// kept; `places` answers RecordedFile and FolderMadeThisRun. An empty recorder
// stops the recording.
void SetUninstallRecorder(std::function<void(const UninstallItem&)> recorder, std::function<bool()> keep = {},
                          RecordedPlaces places = {});
bool UninstallRecording();
// False once recorded items could not be kept: from then on no change may be
// made, since none would be in the record.
bool UninstallRecordKept();
std::optional<UninstallItem> RecordedFile(const std::string& path);
bool FolderMadeThisRun(const std::string& folder);
// Records a change about to be made: kept before it returns, unless a batch is
// open. False when the record is not kept (UninstallRecordKept): the change must
// not be made.
bool RecordUninstallItem(const UninstallItem& item);

// While one lives, recorded items are gathered, and kept together when the last
// one ends: a step announces many changes at once, then makes them.
class UninstallItemBatch {
 public:
  UninstallItemBatch();
  ~UninstallItemBatch();
  UninstallItemBatch(const UninstallItemBatch&) = delete;
  UninstallItemBatch& operator=(const UninstallItemBatch&) = delete;
};

// The levels of `folder` that do not exist yet, outermost first (each without a
// final backslash), asked of the current machine; empty when it exists. A caller
// that is about to create the folder records the levels that exist afterwards.
std::vector<std::string> MissingFolderLevels(const std::string& folder);

// Records the folders of `levels` as items of `kind`, before they are created;
// false when the record is not kept.
bool RecordFoldersToCreate(const std::vector<std::string>& levels, UninstallItemKind kind);

}  // namespace setuvane
