// The seam between finding files in use and Windows. From Windows Vista on the
// Restart Manager (rstrtmgr.dll, loaded when first asked: the installer's import
// floor stays Windows 95) names the programs that hold files, closes them and
// starts again those that registered for it. Elsewhere each file is tried, opened
// as its replacement would need it, and the programs stay unknown. Production code
// uses the process-wide default (Win32 in the Windows build; natively one that
// finds nothing in use); tests install a fake with ScopedFileHolders. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setuvane {

struct HoldingProgram {
  std::string name;  // as the system shows it ("Notatnik")
  std::uint32_t processId = 0;
  bool operator==(const HoldingProgram&) const = default;
};

struct FilesHeld {
  std::vector<HoldingProgram> programs;  // by the Restart Manager
  std::vector<std::string> files;        // tried one by one, where there is none
  bool Any() const { return !programs.empty() || !files.empty(); }
};

class FileHolders {
 public:
  virtual ~FileHolders() = default;
  // What holds any of the existing files `paths` now.
  virtual FilesHeld Find(const std::vector<std::string>& paths) = 0;
  // Asks the programs the last Find named to close (RmShutdown); false when one
  // of them stays, or none can be closed this way.
  virtual bool CloseThem() = 0;
  // Starts again the programs closed that registered for it (RmRestart) and ends
  // the session; nothing when none were closed.
  virtual void RestartClosed() = 0;
};

FileHolders& CurrentFileHolders();
FileHolders& DefaultFileHolders();

class ScopedFileHolders {
 public:
  explicit ScopedFileHolders(FileHolders& holders);
  ~ScopedFileHolders();
  ScopedFileHolders(const ScopedFileHolders&) = delete;
  ScopedFileHolders& operator=(const ScopedFileHolders&) = delete;

 private:
  FileHolders* previous_;
};

}  // namespace setuvane
