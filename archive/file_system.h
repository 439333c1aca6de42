// The archive code's only way to the disk. Paths are Windows paths in the program's
// UTF-8 (system/utf8.h), with "\" separators; the native implementation for the build
// platform is NativeFileSystem() (platform/win32 or platform/posix), and
// MemoryFileSystem serves tests and fuzzing.
//
// Failures of the operations that return nothing are thrown as the run-time errors
// of archive/runtime_errors.h: EFOpenError, EFCreateError, EReadError, EWriteError,
// EInOutError (with the system's code).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace setuvane::archive {

// A file opened for reading. The native file systems' readers may be read through
// from several threads at once (each read takes its own position), so decoding
// ahead's worker can share the handle the installer checked.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  virtual int64_t Size() const = 0;
  // Reads up to `length` bytes at `offset`; fewer only at the end of the file.
  virtual size_t ReadAt(int64_t offset, uint8_t* buffer, size_t length) = 0;
};

// A file opened for writing from its start.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Writes all bytes or throws EWriteError.
  virtual void Write(const uint8_t* data, size_t length) = 0;
  // Stamps the last-write time from an MS-DOS date and time read as local time; the
  // creation and access times stay. Returns false when the system refused.
  virtual bool SetModificationTime(uint16_t dosDate, uint16_t dosTime) = 0;
  // Closes the file; later writes are errors. Throws EWriteError when the data
  // could not be flushed.
  virtual void Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Opens for reading, other readers and writers allowed. Throws EFOpenError.
  virtual std::unique_ptr<ReadableFile> OpenRead(const std::string& path) = 0;
  // Opens for reading with other readers allowed but no writer, no deletion and no
  // renaming while it is open, where the system can refuse them (Windows); so what
  // was checked through the handle stays what is read. Throws EFOpenError.
  virtual std::unique_ptr<ReadableFile> OpenReadLocked(const std::string& path) { return OpenRead(path); }
  // Creates a new file; fails (nullptr) when the name exists or cannot be made.
  virtual std::unique_ptr<WritableFile> CreateNew(const std::string& path) = 0;
  // Moves `from` over `to`, replacing a file of that name; false on failure.
  virtual bool Replace(const std::string& from, const std::string& to) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Makes one folder whose parent exists; throws EInOutError with the system's code.
  virtual void MakeFolder(const std::string& path) = 0;
  // Removes an empty folder; false when it is not empty or cannot go. The default
  // removes none.
  virtual bool RemoveFolder(const std::string&) { return false; }
  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;

  // The attributes of a file or folder in the bits Windows uses (kReadOnlyAttribute
  // and the others below); nullopt when there is none or the system does not say.
  // Where there are no such attributes only read-only is told: a file its owner may
  // not write. The default knows none.
  virtual std::optional<uint32_t> Attributes(const std::string&) { return std::nullopt; }
  // Gives a file the attributes that can be set (kSettableAttributes); false on
  // failure, and where the system has no such attributes.
  virtual bool SetAttributes(const std::string&, uint32_t) { return false; }
  // The names (without the folder) of the files in `folder` ("" = the current one)
  // that start with `prefix` in any letter case; also names that only look so to the
  // system's search, so callers check what they get. The default finds none.
  virtual std::vector<std::string> FileNamesStartingWith(const std::string&, const std::string&) { return {}; }
};

// Attribute bits as Windows keeps them (FILE_ATTRIBUTE_*).
constexpr uint32_t kReadOnlyAttribute = 0x01;
constexpr uint32_t kHiddenAttribute = 0x02;
constexpr uint32_t kSystemAttribute = 0x04;
constexpr uint32_t kFolderAttribute = 0x10;
constexpr uint32_t kArchiveAttribute = 0x20;
constexpr uint32_t kNormalAttribute = 0x80;
// Read-only, hidden, system, archive, temporary, offline, not content-indexed: what
// SetFileAttributes takes; the rest (folder, compressed, encrypted...) it cannot set.
constexpr uint32_t kSettableAttributes = 0x01 | 0x02 | 0x04 | 0x20 | 0x100 | 0x1000 | 0x2000;

// The real disk of the platform the program runs on.
FileSystem& NativeFileSystem();

}  // namespace setuvane::archive
