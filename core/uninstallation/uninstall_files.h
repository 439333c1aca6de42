// The seam between recording or removing an installation and the disk: appending
// to the uninstall record as the installation goes, reading and replacing it,
// removing files and empty folders, copying the uninstaller program, and removal at
// the next restart for what is in use now (and taking a reinstalled file out of it). Production code uses the process-wide
// default (Win32 in the Windows build; natively one on which every operation
// fails); tests install another one with ScopedUninstallFiles. Paths are
// UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setuvane {

enum class FileRemoval { kRemoved, kMissing, kInUse, kFailed };

class UninstallFiles {
 public:
  virtual ~UninstallFiles() = default;

  // Appends to the file, creating it when missing; the bytes have reached the
  // system when it returns (they outlast the process ending at once).
  virtual bool Append(const std::string& path, std::string_view bytes) = 0;
  // What was appended to the file is on the disk when it returns (FlushFileBuffers:
  // it outlasts a power cut too).
  virtual bool Flush(const std::string& path) = 0;
  // Writes the file anew, on the disk when it returns.
  virtual bool WriteNew(const std::string& path, std::string_view bytes) = 0;
  // Creates the file empty, only when nothing lies there (CREATE_NEW): of two
  // processes that try at once, one gets it. False when it exists or cannot be made.
  virtual bool CreateNew(const std::string& path) = 0;
  // Moves `from` over `to`, on the disk when it returns (MOVEFILE_WRITE_THROUGH).
  // Windows 9x, whose MoveFileEx is a stub, deletes `to` first.
  virtual bool Replace(const std::string& from, const std::string& to) = 0;
  // Writes the whole file anew through a file beside it, so that a reader never
  // sees half of it.
  bool WriteWhole(const std::string& path, std::string_view bytes) {
    return WriteNew(path + ".new", bytes) && Replace(path + ".new", path);
  }
  virtual std::optional<std::string> ReadWhole(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Whether the system can say that nothing lies at the path: false when its
  // drive or share does not answer (a network drive unreachable, a removable one
  // without its medium), where nothing may be taken for gone.
  virtual bool Answers(const std::string& path) = 0;
  // True when the file or folder is a junction, a symbolic link or a mount point: a
  // name that leads somewhere else. Other reparse points (a compressed or
  // deduplicated file) are none; Windows 9x has none at all.
  virtual bool IsLink(const std::string& path) = 0;

  // Removes a file (a read-only one too). kInUse when another program holds it.
  virtual FileRemoval RemoveFile(const std::string& path) = 0;
  // Removes a folder that is empty; false when it is not or cannot be removed.
  virtual bool RemoveEmptyFolder(const std::string& path) = 0;
  // Has the file removed when Windows starts next, or on the NT family also a folder
  // that is empty by then: MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT on NT, a
  // line of WININIT.INI on Windows 9x, which removes files only (a folder there is
  // refused: false).
  virtual bool RemoveAtRestart(const std::string& path) = 0;
  // Takes the paths out of what the next restart does (this program's or
  // another's): on the NT family the pairs of PendingFileRenameOperations that
  // remove one of them, move it elsewhere or another file onto it, on Windows 9x
  // the lines of WININIT.INI that do (by the path's short name when it exists).
  // Other paths stay. The paths taken out.
  virtual std::vector<std::string> KeepAtRestart(const std::vector<std::string>& paths) = 0;
  // Has `from` moved over `to` when Windows starts next (`to` is in use now):
  // MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING on the NT
  // family, a line of WININIT.INI with both short names on Windows 9x.
  virtual bool ReplaceAtRestart(const std::string& from, const std::string& to) = 0;
  // Copies a file over `to`.
  virtual bool CopyFileTo(const std::string& from, const std::string& to) = 0;
  // Moves a file (on one volume a running program may be moved, not removed).
  virtual bool MoveFileTo(const std::string& from, const std::string& to) = 0;
  // A new, unused file name in the temporary folder (the file is created empty).
  virtual std::optional<std::string> NewTemporaryFile() = 0;
};

UninstallFiles& CurrentUninstallFiles();
UninstallFiles& DefaultUninstallFiles();

class ScopedUninstallFiles {
 public:
  explicit ScopedUninstallFiles(UninstallFiles& files);
  ~ScopedUninstallFiles();
  ScopedUninstallFiles(const ScopedUninstallFiles&) = delete;
  ScopedUninstallFiles& operator=(const ScopedUninstallFiles&) = delete;

 private:
  UninstallFiles* previous_;
};

}  // namespace setuvane
