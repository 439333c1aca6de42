// A file system held in memory: files and folders in maps keyed by path. It lets
// tests and fuzz targets give the archive code an archive without touching a disk,
// and lets tests make writes fail on purpose.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "archive/file_system.h"

namespace setuvane::archive {

class MemoryFileSystem final : public FileSystem {
 public:
  struct File {
    std::vector<uint8_t> data;
    uint16_t dosDate = 0, dosTime = 0;
    uint32_t attributes = kArchiveAttribute;
  };

  // Folders "" (the current one) exists from the start; others are added here or
  // through MakeFolder.
  MemoryFileSystem();

  void AddFile(const std::string& path, std::vector<uint8_t> data);
  void AddFolder(const std::string& path);
  const std::map<std::string, File>& Files() const { return files_; }
  // Writes fail with EWriteError once this many bytes went to one file.
  void SetWriteLimit(size_t bytes) { writeLimit_ = bytes; }

  std::unique_ptr<ReadableFile> OpenRead(const std::string& path) override;
  std::unique_ptr<WritableFile> CreateNew(const std::string& path) override;
  bool Replace(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override;
  void MakeFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  std::optional<uint32_t> Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  std::vector<std::string> FileNamesStartingWith(const std::string& folder, const std::string& prefix) override;

 private:
  std::map<std::string, File> files_;
  std::set<std::string> folders_;
  size_t writeLimit_ = SIZE_MAX;
};

}  // namespace setuvane::archive
