// The file seam on Win32: ANSI calls on Windows-1250 paths, files opened for reading
// with sharing for readers and writers, and the last-write time stamped from the
// entry's MS-DOS date and time, which hold local time.
//
// Only calls that Windows 95 has, with the same results there: a read at a position
// moves the file pointer and reads (Windows 9x refuses ReadFile with an OVERLAPPED
// position on files), and a replacement without MoveFileExA on Windows 9x, which
// exports it only as a stub (ReplaceByRenaming).
#include "platform/win32/file_replace_win32.h"

#include <windows.h>

#include "archive/file_system.h"
#include "archive/runtime_errors.h"

namespace setuvane::archive {
namespace {

// Windows 95, 98 and Me: the top bit of GetVersion's answer.
bool IsWindows9x() {
  static const bool windows9x = (GetVersion() & 0x80000000u) != 0;
  return windows9x;
}

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
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
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
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32WritableFile>(handle);
  }
  bool Replace(const std::string& from, const std::string& to) override {
    if (IsWindows9x()) return ReplaceByRenaming(from, to);
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  }
  bool Remove(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
  bool RemoveFolder(const std::string& path) override { return RemoveDirectoryA(path.c_str()) != 0; }
  void MakeFolder(const std::string& path) override {
    if (!CreateDirectoryA(path.c_str(), nullptr)) {
      const DWORD code = GetLastError();
      throw EInOutError(static_cast<int>(code),
                        "Cannot make folder " + path + " (system error " + std::to_string(code) + ")");
    }
  }
  bool FolderExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
  bool FileExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  }
  std::optional<uint32_t> Attributes(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return static_cast<uint32_t>(attributes);
  }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    attributes &= kSettableAttributes;
    return SetFileAttributesA(path.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes) != 0;
  }
  std::vector<std::string> FileNamesStartingWith(const std::string& folder, const std::string& prefix) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const std::string mask = (folder.empty() ? std::string() : folder + "\\") + prefix + "*";
    HANDLE search = FindFirstFileA(mask.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }
};

}  // namespace

bool ReplaceByRenaming(const std::string& from, const std::string& to) {
  if (MoveFileA(from.c_str(), to.c_str())) return true;  // nothing to replace
  if (GetFileAttributesA(to.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
  // The old file steps aside under a free name of its folder, and comes back when
  // the new one cannot take its place.
  const size_t slash = to.find_last_of("\\:");
  const std::string folder = slash == std::string::npos ? std::string() : to.substr(0, slash + 1);
  std::string aside;
  for (unsigned attempt = 0;; ++attempt) {
    if (attempt == 1000) return false;
    aside = folder + "~svold" + std::to_string((GetTickCount() + attempt) % 100000) + ".tmp";
    if (MoveFileA(to.c_str(), aside.c_str())) break;
    if (GetFileAttributesA(aside.c_str()) == INVALID_FILE_ATTRIBUTES) return false;  // not a name clash
  }
  if (!MoveFileA(from.c_str(), to.c_str())) {
    MoveFileA(aside.c_str(), to.c_str());
    return false;
  }
  DeleteFileA(aside.c_str());
  return true;
}

FileSystem& NativeFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}

}  // namespace setuvane::archive
