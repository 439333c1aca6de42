// The file seam on Win32: ANSI calls on Windows-1250 paths, files opened for reading
// with sharing for readers and writers, and the last-write time stamped from the
// entry's MS-DOS date and time, which hold local time.
#include <windows.h>

#include "archive/file_system.h"
#include "archive/runtime_errors.h"

namespace setuvane::archive {
namespace {

class Win32ReadableFile final : public ReadableFile {
 public:
  Win32ReadableFile(HANDLE handle, int64_t size) : handle_(handle), size_(size) {}
  ~Win32ReadableFile() override { CloseHandle(handle_); }
  int64_t Size() const override { return size_; }
  size_t ReadAt(int64_t offset, uint8_t* buffer, size_t length) override {
    // The file position and a plain read: a read given its place in an OVERLAPPED
    // costs Wine a round trip to its server each time, to post a completion that
    // nobody waits for. Each handle serves one thread.
    LONG high = static_cast<LONG>(static_cast<uint64_t>(offset) >> 32);
    if (SetFilePointer(handle_, static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
      throw EReadError();
    }
    size_t done = 0;
    while (done < length) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(length - done);
      if (!ReadFile(handle_, buffer + done, want, &got, nullptr)) throw EReadError();
      if (got == 0) break;
      done += got;
    }
    return done;
  }

 private:
  HANDLE handle_;
  int64_t size_;
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
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throw EFOpenError(path);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle, &size)) {
      CloseHandle(handle);
      throw EFOpenError(path);
    }
    return std::make_unique<Win32ReadableFile>(handle, size.QuadPart);
  }
  std::unique_ptr<WritableFile> CreateNew(const std::string& path) override {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32WritableFile>(handle);
  }
  bool Replace(const std::string& from, const std::string& to) override {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  }
  bool Remove(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
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
};

}  // namespace

FileSystem& NativeFileSystem() {
  static Win32FileSystem fileSystem;
  return fileSystem;
}

}  // namespace setuvane::archive
