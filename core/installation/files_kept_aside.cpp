#include "core/installation/files_kept_aside.h"

#include <ctime>

#include "core/uninstallation/uninstall_files.h"
#include "system/install_journal.h"
#include "system/path_identity.h"
#include "system/text_helpers.h"
#include "system/uninstall_items.h"

namespace setuvane {
namespace {

constexpr unsigned kNumbers = 100000;  // five digits
// Files one folder of the run holds at most: a name that is not there yet is
// looked for through its whole folder (Windows names ignore letter case), so
// each file goes into a small one.
constexpr int kFilesPerAsideFolder = 64;

// Attributes that keep a file from going aside early: read-only (its replacement
// fails as the unzipper would have it), and those its replacement takes over.
constexpr uint32_t kNotPlain = archive::kSettableAttributes & ~archive::kArchiveAttribute;

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

}  // namespace

// The numbers start somewhere else in each run, so that a name left by a run long
// gone is seldom met.
FilesKeptAside::FilesKeptAside(archive::FileSystem& disk)
    : disk_(disk), counter_(static_cast<unsigned>(std::time(nullptr)) % kNumbers) {}

std::string FilesKeptAside::FreeNameIn(const std::string& folder, const char* stem, const char* extension) {
  for (unsigned attempt = 0;; ++attempt) {
    const std::string digits = std::to_string(kNumbers + counter_++ % kNumbers).substr(1);
    const std::string name = folder + "\\" + stem + digits + extension;
    // Past every number, the last one is taken: writing there fails, and the run is undone.
    if (attempt >= kNumbers ||
        (!named_.count(AsciiLower(name)) && !disk_.FileExists(name) && !disk_.FolderExists(name))) {
      named_.insert(AsciiLower(name));
      return name;
    }
  }
}

// Folders of the run beside the files of each folder: fresh folders, so the
// names inside them are the files' own and no other is asked about.
void FilesKeptAside::Announce(const std::string& path, std::optional<uint32_t> attributes) {
  if (attributes && (*attributes & archive::kFolderAttribute)) return;  // a folder there: writing fails
  const std::string folder = FolderOf(path);
  AsideFolder& asideFolder = asideFolders_[AsciiLower(folder)];
  if (asideFolder.path.empty() || asideFolder.files == kFilesPerAsideFolder)
    asideFolder = {FreeNameIn(folder, "sv", ".old"), 0};
  ++asideFolder.files;
  const Aside aside{asideFolder.path + "\\" + FileNamePart(path), attributes && (*attributes & kNotPlain) == 0};
  // Written twice in one run (two entries of one place), it keeps what lay there first.
  if (!named_.insert(AsciiLower(aside.path)).second) return;
  RecordUninstallItem(PairItem(UninstallItemKind::kAside, path, aside.path));
  announced_[AsciiLower(path)] = aside;
}

bool FilesKeptAside::MoveAside(const std::string& path, const Aside& aside) {
  const std::string folder = FolderOf(aside.path);
  if (madeFolders_.insert(AsciiLower(folder)).second && !disk_.FolderExists(folder)) {
    try {
      disk_.MakeFolder(folder);
    } catch (const std::exception&) {
      madeFolders_.erase(AsciiLower(folder));
      return false;
    }
  }
  return disk_.Replace(path, aside.path);
}

std::unique_ptr<archive::WritableFile> FilesKeptAside::CreateNew(const std::string& path) {
  const auto announced = announced_.find(AsciiLower(path));
  if (announced != announced_.end() && announced->second.early && MoveAside(path, announced->second))
    announced_.erase(announced);
  return disk_.CreateNew(path);
}

bool FilesKeptAside::Replace(const std::string& from, const std::string& to) {
  const auto announced = announced_.find(AsciiLower(to));
  if (announced != announced_.end()) {
    const Aside aside = announced->second;
    announced_.erase(announced);
    if (!MoveAside(to, aside) && disk_.FileExists(to)) return ReplaceAtRestart(from, to);
  }
  if (disk_.Replace(from, to)) return true;
  return disk_.FileExists(to) && ReplaceAtRestart(from, to);
}

bool FilesKeptAside::ReplaceAtRestart(const std::string& from, const std::string& to) {
  // Under a name of its own: the unzipper removes the temporary files it finds
  // left, and a later installation before the restart would take this one.
  const std::string waiting = FreeNameIn(FolderOf(to), "~sv", ".new");
  {
    UninstallItemBatch batch;
    const std::optional<UninstallItem> written = RecordedFile(NormalPath(to));
    RecordUninstallItem(FileItem(waiting, written ? written->size : 0, written ? written->crc : 0));
    RecordUninstallItem(PairItem(UninstallItemKind::kPending, to, waiting));
  }
  if (!disk_.Replace(from, waiting)) return false;
  if (!CurrentUninstallFiles().ReplaceAtRestart(waiting, to)) {
    disk_.Remove(waiting);
    return false;
  }
  JournalNote("in use, replaced at the next restart: " + to + " (held by " +
              (holders_.empty() ? std::string("another program") : holders_) + ")");
  replacedAtRestart_ = true;
  return true;
}

}  // namespace setuvane
