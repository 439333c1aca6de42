// The product files' way to the disk. A file that the installation writes over is
// moved aside beside itself (a rename on its own volume, nothing copied) at the
// moment its replacement is ready, its line "aside" in the uninstall record since
// the batch that announced the file: until the run ends it can come back
// (core/uninstallation/run_rollback.h). A file that another program holds open
// cannot be moved or replaced: its replacement waits beside it and takes its place
// when Windows starts next. Everything else goes to the disk as it is.
#pragma once

#include <map>
#include <set>
#include <string>

#include "archive/file_system.h"

namespace setuvane {

class FilesKeptAside final : public archive::FileSystem {
 public:
  explicit FilesKeptAside(archive::FileSystem& disk);

  // Records that the file lying at `path` is moved aside when it is written over
  // (in the uninstall record's current batch).
  void Announce(const std::string& path);
  // Who holds the files in use, for the log ("notepad.exe" and the like).
  void SetHolders(std::string holders) { holders_ = std::move(holders); }
  // Whether a file waits for the next restart to take its place.
  bool ReplacedAtRestart() const { return replacedAtRestart_; }

  std::unique_ptr<archive::ReadableFile> OpenRead(const std::string& path) override { return disk_.OpenRead(path); }
  std::unique_ptr<archive::ReadableFile> OpenReadLocked(const std::string& path) override {
    return disk_.OpenReadLocked(path);
  }
  std::unique_ptr<archive::WritableFile> CreateNew(const std::string& path) override { return disk_.CreateNew(path); }
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
  // A new name beside `path` with the extension `extension` ("~sv", five digits:
  // an 8.3 name, as the unzipper's temporary files have), used by no file there and
  // by no other of this run.
  std::string FreeNameBeside(const std::string& path, const char* extension);
  // `from` waits beside `to` and replaces it when Windows starts next, both
  // recorded first.
  bool ReplaceAtRestart(const std::string& from, const std::string& to);

  archive::FileSystem& disk_;
  std::map<std::string, std::string> announced_;  // by the path in lower case: where it goes aside
  std::set<std::string> named_;                   // names given in this run, in lower case
  unsigned counter_;
  std::string holders_;
  bool replacedAtRestart_ = false;
};

}  // namespace setuvane
