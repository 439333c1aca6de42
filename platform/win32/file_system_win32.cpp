// The file seam on Win32: UTF-8 paths through the set of calls the program uses
// (system/wide_or_ansi_files_win32.h), files opened for reading with sharing for
// readers and writers, and the last-write time stamped from the entry's MS-DOS date
// and time, which hold local time.
//
// Only calls that Windows 95 has, with the same results there: a read at a position
// moves the file pointer and reads (Windows 9x refuses ReadFile with an OVERLAPPED
// position on files), and a replacement without MoveFileEx on Windows 9x, which
// exports it only as a stub (ReplaceByRenaming).
#include "platform/win32/file_replace_win32.h"

#include <windows.h>

#include "archive/file_system.h"
#include "archive/runtime_errors.h"
#include "system/wide_or_ansi_choice_win32.h"
#include "system/wide_or_ansi_files_win32.h"

namespace setuvane::archive {
namespace {

// Serialises the pointer move and the read of one file, so that readers on
// several threads never read at each other's position.
class FileLock {
 public:
  FileLock() { InitializeCriticalSection(&section_); }
  ~FileLock() { DeleteCriticalSection(&section_); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  void Enter() { EnterCriticalSection(&section_); }
  void Leave() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

class Locked {
 public:
  explicit Locked(FileLock& lock) : lock_(lock) { lock_.Enter(); }
  ~Locked() { lock_.Leave(); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  FileLock& lock_;
};

class Win32ReadableFile final : public ReadableFile {
 public:
  Win32ReadableFile(HANDLE handle, int64_t size) : handle_(handle), size_(size) {}
  ~Win32ReadableFile() override { CloseHandle(handle_); }
  int64_t Size() const override { return size_; }
  size_t ReadAt(int64_t offset, uint8_t* buffer, size_t length) override {
    Locked locked(lock_);
    LONG high = static_cast<LONG>(static_cast<uint64_t>(offset) >> 32);
    if (SetFilePointer(handle_, static_cast<LONG>(offset), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
      throw EReadError();
    }
    size_t done = 0;
    while (done < length) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(length - done);
      if (!ReadFile(handle_, buffer + done, want, &got, nullptr)) throw EReadError();
      if (got == 0) break;  // the end of the file
      done += got;
    }
    return done;
  }

 private:
  HANDLE handle_;
  int64_t size_;
  FileLock lock_;
};

class Win32WritableFile final : public WritableFile {
 public:
  explicit Win32WritableFile(HANDLE handle) : handle_(handle) {}
  ~Win32WritableFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  void Write(const uint8_t* data, size_t length) override {
    while (length > 0) {
      DWORD written = 0;
      if (handle_ == INVALID_HANDLE_VALUE ||
          !WriteFile(handle_, data, static_cast<DWORD>(length), &written, nullptr) || written == 0) {
        throw EWriteError();
      }
      data += written;
      length -= written;
    }
  }
  bool SetModificationTime(uint16_t dosDate, uint16_t dosTime) override {
    FILETIME local, utc;
    return handle_ != INVALID_HANDLE_VALUE && DosDateTimeToFileTime(dosDate, dosTime, &local) &&
           LocalFileTimeToFileTime(&local, &utc) && SetFileTime(handle_, nullptr, nullptr, &utc);
  }
  void Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    const BOOL closed = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    if (!closed) throw EWriteError();
  }

 private:
  HANDLE handle_;
};

class Win32FileSystem final : public FileSystem {
 public:
  std::unique_ptr<ReadableFile> OpenRead(const std::string& path) override {
    return Open(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
  }
  // Without FILE_SHARE_WRITE and FILE_SHARE_DELETE: nobody writes, deletes or
  // renames the file while the handle is open.
  std::unique_ptr<ReadableFile> OpenReadLocked(const std::string& path) override {
    return Open(path, FILE_SHARE_READ);
  }
  std::unique_ptr<ReadableFile> Open(const std::string& path, DWORD sharing) {
    HANDLE handle = win32::OpenFileAt(path, GENERIC_READ, sharing, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE) throw EFOpenError(path);
    // GetFileSize, not GetFileSizeEx: the latter is missing before Windows 2000.
    // A size whose low part is all ones is told from a failure by the last error.
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetFileSize(handle, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
      CloseHandle(handle);
      throw EFOpenError(path);
    }
    return std::make_unique<Win32ReadableFile>(handle, static_cast<int64_t>((uint64_t{high} << 32) | low));
  }
  std::unique_ptr<WritableFile> CreateNew(const std::string& path) override {
    HANDLE handle = win32::OpenFileAt(path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32WritableFile>(handle);
  }
  bool Replace(const std::string& from, const std::string& to) override {
    if (win32::AnsiCalls()) return ReplaceByRenaming(from, to);
    return win32::MoveFileReplacingAt(from, to);
  }
  bool Remove(const std::string& path) override { return win32::DeleteFileAt(path); }
  bool RemoveFolder(const std::string& path) override { return win32::RemoveFolderAt(path); }
  void MakeFolder(const std::string& path) override {
    if (!win32::MakeFolderAt(path)) {
      const DWORD code = GetLastError();
      throw EInOutError(static_cast<int>(code),
                        "Cannot make folder " + path + " (" + win32::SystemErrorText(code) + ")");
    }
  }
  bool FolderExists(const std::string& path) override {
    const DWORD attributes = win32::AttributesAt(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  bool FileExists(const std::string& path) override {
    const DWORD attributes = win32::AttributesAt(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
  std::optional<uint32_t> Attributes(const std::string& path) override {
    const DWORD attributes = win32::AttributesAt(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return static_cast<uint32_t>(attributes);
  }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    attributes &= kSettableAttributes;
    return win32::SetAttributesAt(path, attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes);
  }
  std::vector<std::string> FileNamesStartingWith(const std::string& folder, const std::string& prefix) override {
    std::vector<std::string> names;
    const std::string mask = (folder.empty() ? std::string() : folder + "\\") + prefix + "*";
    for (const win32::FoundFile& found : win32::FindFiles(mask)) {
      if ((found.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(found.name);
    }
    return names;
  }
};

}  // namespace

bool ReplaceByRenaming(const std::string& from, const std::string& to) {
  if (win32::MoveFileAt(from, to)) return true;  // nothing to replace
  if (win32::AttributesAt(to) == INVALID_FILE_ATTRIBUTES) return false;
  // The old file steps aside under a free name of its folder, and comes back when
  // the new one cannot take its place.
  const size_t slash = to.find_last_of("\\:");
  const std::string folder = slash == std::string::npos ? std::string() : to.substr(0, slash + 1);
  std::string aside;
  for (unsigned attempt = 0;; ++attempt) {
    if (attempt == 1000) return false;
    aside = folder + "~svold" + std::to_string((GetTickCount() + attempt) % 100000) + ".tmp";
    if (win32::MoveFileAt(to, aside)) break;
    if (win32::AttributesAt(aside) == INVALID_FILE_ATTRIBUTES) return false;  // not a name clash
  }
  if (!win32::MoveFileAt(from, to)) {
    win32::MoveFileAt(aside, to);
    return false;
  }
  win32::DeleteFileAt(aside);
  return true;
}

FileSystem& NativeFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}

}  // namespace setuvane::archive
