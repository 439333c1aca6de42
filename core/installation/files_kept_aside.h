// The product files' way to the disk. A file that the installation writes over is
// moved aside into a folder of the run beside it ("svNNNNN.old", a small one,
// under its own name: a rename on its own volume, nothing copied), its line "aside" in the
// uninstall record since the batch that announced the file: until the run ends it
// can come back (core/uninstallation/run_rollback.h). A plain file goes aside as
// its replacement is created, which the unzipper then writes in its place; one
// with attributes that its replacement takes over (or one that waited for the
// overwrite question) goes when its replacement, written beside it, is ready. A
// file that another program holds open cannot be moved or replaced: its
// replacement waits beside it and takes its place when Windows starts next.
// Everything else goes to the disk as it is.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "archive/file_system.h"

namespace setuvane {

class FilesKeptAside final : public archive::FileSystem {
 public:
  explicit FilesKeptAside(archive::FileSystem& disk);

  // Records that the file lying at `path`, of the `attributes` (when known), is
  // moved aside when it is written over (in the uninstall record's current batch).
  void Announce(const std::string& path, std::optional<uint32_t> attributes);
  // Who holds the files in use, for the log ("notepad.exe" and the like).
  void SetHolders(std::string holders) { holders_ = std::move(holders); }
  // Whether a file waits for the next restart to take its place.
  bool ReplacedAtRestart() const { return replacedAtRestart_; }

  std::unique_ptr<archive::ReadableFile> OpenRead(const std::string& path) override { return disk_.OpenRead(path); }
  std::unique_ptr<archive::ReadableFile> OpenReadLocked(const std::string& path) override {
    return disk_.OpenReadLocked(path);
  }
  // A plain file announced goes aside before its replacement is created.
  std::unique_ptr<archive::WritableFile> CreateNew(const std::string& path) override;
  // Moves a file written over aside first, as announced; a file in use is
  // replaced at the next restart instead.
  bool Replace(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override { return disk_.Remove(path); }
  void MakeFolder(const std::string& path) override { disk_.MakeFolder(path); }
  bool RemoveFolder(const std::string& path) override { return disk_.RemoveFolder(path); }
  bool FolderExists(const std::string& path) override { return disk_.FolderExists(path); }
  bool FileExists(const std::string& path) override { return disk_.FileExists(path); }
  std::optional<uint32_t> Attributes(const std::string& path) override { return disk_.Attributes(path); }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    return disk_.SetAttributes(path, attributes);
  }
  std::vector<std::string> FileNamesStartingWith(const std::string& folder, const std::string& prefix) override {
    return disk_.FileNamesStartingWith(folder, prefix);
  }

 private:
  struct Aside {
    std::string path;
    bool early;  // moved as its replacement is created
  };
  struct AsideFolder {
    std::string path;
    int files = 0;
  };
  // A new name in `folder` ("~sv" or "sv", five digits, `extension`: an 8.3 name)
  // that nothing there has, nor any other of this run.
  std::string FreeNameIn(const std::string& folder, const char* stem, const char* extension);
  // Moves the file aside into its folder of the run, made first; false when it
  // stays (another program holds it, or it is gone).
  bool MoveAside(const std::string& path, const Aside& aside);
  // `from` waits beside `to` and replaces it when Windows starts next, both
  // recorded first.
  bool ReplaceAtRestart(const std::string& from, const std::string& to);

  archive::FileSystem& disk_;
  std::map<std::string, Aside> announced_;             // by the path in lower case
  std::map<std::string, AsideFolder> asideFolders_;  // the latest, by the folder in lower case
  std::set<std::string> madeFolders_;                // aside folders made, in lower case
  std::set<std::string> named_;                      // names given in this run, in lower case
  unsigned counter_;
  std::string holders_;
  bool replacedAtRestart_ = false;
};

}  // namespace setuvane
