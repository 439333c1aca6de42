#include "core/installation/files_kept_aside.h"

#include <ctime>

#include "core/uninstallation/uninstall_files.h"
#include "system/install_journal.h"
#include "system/text_helpers.h"
#include "system/uninstall_items.h"

namespace setuvane {
namespace {

constexpr unsigned kNumbers = 100000;  // five digits

}  // namespace

// The numbers start somewhere else in each run, so that a name left by a run long
// gone is seldom met.
FilesKeptAside::FilesKeptAside(archive::FileSystem& disk)
    : disk_(disk), counter_(static_cast<unsigned>(std::time(nullptr)) % kNumbers) {}

std::string FilesKeptAside::FreeNameBeside(const std::string& path, const char* extension) {
  const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  for (unsigned attempt = 0;; ++attempt) {
    const std::string digits = std::to_string(kNumbers + counter_++ % kNumbers).substr(1);
    const std::string name = folder + "~sv" + digits + extension;
    // Past every number, the last one is taken: writing there fails, and the run is undone.
    if (attempt >= kNumbers || (!named_.count(AsciiLower(name)) && !disk_.FileExists(name))) {
      named_.insert(AsciiLower(name));
      return name;
    }
  }
}

void FilesKeptAside::Announce(const std::string& path) {
  const std::string aside = FreeNameBeside(path, ".old");
  RecordUninstallItem(PairItem(UninstallItemKind::kAside, path, aside));
  announced_[AsciiLower(path)] = aside;
}

bool FilesKeptAside::Replace(const std::string& from, const std::string& to) {
  const auto announced = announced_.find(AsciiLower(to));
  if (announced != announced_.end()) {
    const std::string aside = announced->second;
    announced_.erase(announced);
    if (disk_.FileExists(to) && !disk_.Replace(to, aside)) return ReplaceAtRestart(from, to);
  }
  if (disk_.Replace(from, to)) return true;
  return disk_.FileExists(to) && ReplaceAtRestart(from, to);
}

bool FilesKeptAside::ReplaceAtRestart(const std::string& from, const std::string& to) {
  // Under a name of its own: the unzipper removes the temporary files it finds
  // left, and a later installation before the restart would take this one.
  const std::string waiting = FreeNameBeside(to, ".new");
  {
    UninstallItemBatch batch;
    const std::optional<UninstallItem> written = RecordedPlace(to);
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
