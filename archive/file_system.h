// The archive code's only way to the disk. Paths are Windows paths in the ANSI code
// page (Windows-1250), with "\" separators; the native implementation for the build
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
#include <string>

namespace setuvane::archive {

// A file opened for reading, other readers and writers allowed. One thread at a
// time reads through it (decoding ahead opens the archive again for its worker).
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
  // Throws EFOpenError.
  virtual std::unique_ptr<ReadableFile> OpenRead(const std::string& path) = 0;
  // Creates a new file; fails (nullptr) when the name exists or cannot be made.
  virtual std::unique_ptr<WritableFile> CreateNew(const std::string& path) = 0;
  // Moves `from` over `to`, replacing a file of that name; false on failure.
  virtual bool Replace(const std::string& from, const std::string& to) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Makes one folder whose parent exists; throws EInOutError with the system's code.
  virtual void MakeFolder(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
};

// The real disk of the platform the program runs on.
FileSystem& NativeFileSystem();

}  // namespace setuvane::archive
