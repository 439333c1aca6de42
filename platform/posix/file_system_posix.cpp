// The file seam on POSIX systems, for the native build of the package tool and the
// tests. Paths are the program's UTF-8 with "\" separators; here the separators
// become "/", so that Polish names stay readable on a Linux disk.
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "archive/file_system.h"
#include "archive/runtime_errors.h"

namespace setuvane::archive {
namespace {

std::string NativePath(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

class PosixReadableFile final : public ReadableFile {
 public:
  PosixReadableFile(int fd, int64_t size) : fd_(fd), size_(size) {}
  ~PosixReadableFile() override { ::close(fd_); }
  int64_t Size() const override { return size_; }
  size_t ReadAt(int64_t offset, uint8_t* buffer, size_t length) override {
    size_t done = 0;
    while (done < length) {
      const ssize_t n = ::pread(fd_, buffer + done, length - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) throw EReadError();
      if (n == 0) break;
      done += static_cast<size_t>(n);
    }
    return done;
  }

 private:
  int fd_;
  int64_t size_;
};

class PosixWritableFile final : public WritableFile {
 public:
  explicit PosixWritableFile(int fd) : fd_(fd) {}
  ~PosixWritableFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  void Write(const uint8_t* data, size_t length) override {
    while (length > 0) {
      const ssize_t n = fd_ < 0 ? -1 : ::write(fd_, data, length);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw EWriteError();
      data += n;
      length -= static_cast<size_t>(n);
    }
  }
  bool SetModificationTime(uint16_t dosDate, uint16_t dosTime) override {
    std::tm local{};
    local.tm_year = (dosDate >> 9) + 80;
    local.tm_mon = ((dosDate >> 5) & 0x0F) - 1;
    local.tm_mday = dosDate & 0x1F;
    local.tm_hour = dosTime >> 11;
    local.tm_min = (dosTime >> 5) & 0x3F;
    local.tm_sec = (dosTime & 0x1F) * 2;
    local.tm_isdst = -1;
    const time_t when = std::mktime(&local);
    if (when == static_cast<time_t>(-1) || fd_ < 0) return false;
    const timespec times[2] = {{0, UTIME_OMIT}, {when, 0}};
    return ::futimens(fd_, times) == 0;
  }
  void Close() override {
    if (fd_ < 0) return;
    const int result = ::close(fd_);
    fd_ = -1;
    if (result != 0) throw EWriteError();
  }

 private:
  int fd_;
};

class PosixFileSystem final : public FileSystem {
 public:
  std::unique_ptr<ReadableFile> OpenRead(const std::string& path) override {
    const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0) throw EFOpenError(path);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      throw EFOpenError(path);
    }
    return std::make_unique<PosixReadableFile>(fd, static_cast<int64_t>(info.st_size));
  }
  std::unique_ptr<WritableFile> CreateNew(const std::string& path) override {
    const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixWritableFile>(fd);
  }
  bool Replace(const std::string& from, const std::string& to) override {
    return ::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
  }
  bool Remove(const std::string& path) override { return ::unlink(NativePath(path).c_str()) == 0; }
  bool RemoveFolder(const std::string& path) override { return ::rmdir(NativePath(path).c_str()) == 0; }
  void MakeFolder(const std::string& path) override {
    if (::mkdir(NativePath(path).c_str(), 0777) != 0) {
      const int code = errno;
      throw EInOutError(code, std::string("Cannot make folder ") + path + ": " + std::strerror(code));
    }
  }
  bool FolderExists(const std::string& path) override {
    struct stat info {};
    return ::stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }
  bool FileExists(const std::string& path) override {
    struct stat info {};
    return ::stat(NativePath(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
  }
  // Only read-only has a POSIX counterpart: no write permission for the owner.
  std::optional<uint32_t> Attributes(const std::string& path) override {
    struct stat info {};
    if (::stat(NativePath(path).c_str(), &info) != 0) return std::nullopt;
    uint32_t attributes = S_ISDIR(info.st_mode) ? kFolderAttribute : 0;
    if ((info.st_mode & S_IWUSR) == 0) attributes |= kReadOnlyAttribute;
    return attributes == 0 ? kNormalAttribute : attributes;
  }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    const std::string native = NativePath(path);
    struct stat info {};
    if (::stat(native.c_str(), &info) != 0) return false;
    const mode_t writable = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t mode = (attributes & kReadOnlyAttribute) != 0 ? info.st_mode & ~writable : info.st_mode | S_IWUSR;
    return ::chmod(native.c_str(), mode & 07777) == 0;
  }
  std::vector<std::string> FileNamesStartingWith(const std::string& folder, const std::string& prefix) override {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : NativePath(folder).c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() >= prefix.size() && ::strncasecmp(name.c_str(), prefix.c_str(), prefix.size()) == 0) {
        names.push_back(name);
      }
    }
    ::closedir(dir);
    return names;
  }
};

}  // namespace

FileSystem& NativeFileSystem() {
  static PosixFileSystem fileSystem;
  return fileSystem;
}

}  // namespace setuvane::archive
