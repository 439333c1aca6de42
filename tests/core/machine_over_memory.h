// The fake machine with its files and folders in the archive code's memory file
// system, so that what the unzip components write and what the folder routines and
// the setup text reader see is one and the same disk.
#pragma once

#include <string>

#include "archive/memory_file_system.h"
#include "tests/system/fake_machine.h"

namespace setuvane::fakes {

class MachineOverMemory : public FakeMachine {
 public:
  explicit MachineOverMemory(archive::MemoryFileSystem& disk) : disk_(disk) {}

  std::optional<std::uint32_t> FileAttributes(const std::string& path) override {
    calls.push_back("FileAttributes " + path);
    if (disk_.FolderExists(Folder(path))) return 0x10;
    if (disk_.FileExists(path)) return 0x20;
    return std::nullopt;
  }
  bool MakeDirectory(const std::string& path) override {
    calls.push_back("MakeDirectory " + path);
    if (refusedDirectories.count(path)) return false;
    try {
      disk_.MakeFolder(Folder(path));
    } catch (...) {
      return false;
    }
    created.push_back(path);
    return true;
  }
  bool ChangeCurrentDirectory(const std::string& path) override {
    enteredDirectories.push_back(path);
    if (!disk_.FolderExists(Folder(path))) return false;
    currentDirectory = path;
    return true;
  }
  std::optional<std::string> ReadWholeFile(const std::string& path, std::uint32_t& osError) override {
    if (!disk_.FileExists(path)) {
      osError = 2;
      return std::nullopt;
    }
    const auto& data = disk_.Files().at(path).data;
    return std::string(data.begin(), data.end());
  }

 private:
  static std::string Folder(std::string path) {
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
  }
  archive::MemoryFileSystem& disk_;
};

}  // namespace setuvane::fakes
