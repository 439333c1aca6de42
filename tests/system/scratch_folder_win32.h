// A folder of its own below the temporary folder for one Windows test, removed
// with what the test put in it. Its path ends in a backslash.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include "system/shell_folders.h"

namespace setuvane::testing {

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name = "setuvane-system")
      : path_(GetTempFolder() + name + "-" + std::to_string(GetCurrentProcessId()) + "\\") {
    std::filesystem::create_directory(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace setuvane::testing
