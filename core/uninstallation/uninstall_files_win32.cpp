// The disk of an uninstallation on Windows: each operation is one Win32 call or a
// short fixed sequence of them. MoveFileExA is looked up at run time: Windows 9x
// exports it without implementing it, and its removal at restart goes through
// WININIT.INI instead.
#include <windows.h>

#include "core/uninstallation/uninstall_files.h"

namespace setuvane {
namespace {

using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

bool IsWindows9x() { return (GetVersion() & 0x80000000u) != 0; }

MoveFileExFunction MoveFileExCall() {
  if (IsWindows9x()) return nullptr;
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? reinterpret_cast<MoveFileExFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "MoveFileExA")))
                : nullptr;
}

bool WriteNewFile(const std::string& path, std::string_view bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  return CloseHandle(file) && ok;
}

class Win32UninstallFiles final : public UninstallFiles {
 public:
  ~Win32UninstallFiles() override { CloseAppended(); }

  bool Append(const std::string& path, std::string_view bytes) override {
    // The record grows by a line per item: its handle stays open between lines.
    if (path != appendedPath_) {
      CloseAppended();
      appended_ = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
      if (appended_ == INVALID_HANDLE_VALUE) return false;
      appendedPath_ = path;
    }
    if (SetFilePointer(appended_, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
      return false;
    DWORD written = 0;
    return WriteFile(appended_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }

  bool WriteWhole(const std::string& path, std::string_view bytes) override {
    if (path == appendedPath_) CloseAppended();
    const std::string fresh = path + ".new";
    if (!WriteNewFile(fresh, bytes)) {
      DeleteFileA(fresh.c_str());
      return false;
    }
    if (MoveFileExFunction moveFileEx = MoveFileExCall()) return moveFileEx(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    DeleteFileA(path.c_str());
    return MoveFileA(fresh.c_str(), path.c_str());
  }

  std::optional<std::string> ReadWhole(const std::string& path) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string data;
    char buffer[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr)) && read > 0) data.append(buffer, read);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return data;
  }

  bool FileExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool FolderExists(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  FileRemoval RemoveFile(const std::string& path) override {
    if (path == appendedPath_) CloseAppended();
    if (DeleteFileA(path.c_str())) return FileRemoval::kRemoved;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return FileRemoval::kMissing;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY)) {
      SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
      if (DeleteFileA(path.c_str())) return FileRemoval::kRemoved;
      error = GetLastError();
      SetFileAttributesA(path.c_str(), attributes);
    }
    // A running program refuses with access denied, an open file with a sharing
    // violation.
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED)
      return FileRemoval::kInUse;
    return FileRemoval::kFailed;
  }

  bool RemoveEmptyFolder(const std::string& path) override { return RemoveDirectoryA(path.c_str()); }

  bool RemoveAtRestart(const std::string& path) override {
    if (MoveFileExFunction moveFileEx = MoveFileExCall())
      return moveFileEx(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (!IsWindows9x()) return false;
    char shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    char windows[MAX_PATH];
    const UINT windowsLength = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || windowsLength == 0 || windowsLength >= MAX_PATH) return false;
    std::string wininit(windows);
    if (wininit.back() != '\\') wininit += '\\';
    wininit += "WININIT.INI";
    const std::string old = ReadWhole(wininit).value_or(std::string());
    return WriteNewFile(wininit, WininitWithRemoval(old, std::string_view(shortPath, length)));
  }

  bool CopyFileTo(const std::string& from, const std::string& to) override {
    return CopyFileA(from.c_str(), to.c_str(), FALSE);
  }

  bool MoveFileTo(const std::string& from, const std::string& to) override {
    return MoveFileA(from.c_str(), to.c_str());
  }

  std::optional<std::string> NewTemporaryFile() override {
    char folder[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return std::nullopt;
    char name[MAX_PATH];
    if (!GetTempFileNameA(folder, "svu", 0, name)) return std::nullopt;
    return std::string(name);
  }

 private:
  void CloseAppended() {
    if (appended_ != INVALID_HANDLE_VALUE) CloseHandle(appended_);
    appended_ = INVALID_HANDLE_VALUE;
    appendedPath_.clear();
  }

  HANDLE appended_ = INVALID_HANDLE_VALUE;
  std::string appendedPath_;
};

}  // namespace

UninstallFiles& DefaultUninstallFiles() {
  static Win32UninstallFiles files;
  return files;
}

}  // namespace setuvane
