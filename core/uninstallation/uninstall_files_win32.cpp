// The disk of an uninstallation on Windows: each operation is one call of the set
// the program uses (system/wide_or_ansi_files_win32.h) or a short fixed sequence of
// them. Windows 9x has MoveFileEx only as a stub: its removal at restart goes
// through WININIT.INI instead, which removes files only.
#include <windows.h>

#include <map>
#include <vector>

#include "core/uninstallation/restart_removals.h"
#include "core/uninstallation/uninstall_files.h"
#include "system/path_identity.h"
#include "system/text_helpers.h"
#include "system/wide_or_ansi_choice_win32.h"
#include "system/wide_or_ansi_files_win32.h"
#include "system/wide_or_ansi_registry_win32.h"

namespace setuvane {
namespace {

constexpr char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr char kPendingRenames[] = "PendingFileRenameOperations";

std::optional<std::string> WininitPath() {
  const std::optional<std::string> windows = win32::WindowsFolderPath();
  if (!windows) return std::nullopt;
  return *windows + (windows->back() == '\\' ? "" : "\\") + "WININIT.INI";
}

bool WriteNewFile(const std::string& path, std::string_view bytes, bool flush = false) {
  HANDLE file = win32::OpenFileAt(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && (!flush || FlushFileBuffers(file));
  return CloseHandle(file) && ok;
}

class Win32UninstallFiles final : public UninstallFiles {
 public:
  ~Win32UninstallFiles() override { CloseAppended(); }

  bool Append(const std::string& path, std::string_view bytes) override {
    // The record grows by a line per item: its handle stays open between lines.
    if (path != appendedPath_) {
      CloseAppended();
      appended_ = win32::OpenFileAt(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
      if (appended_ == INVALID_HANDLE_VALUE) return false;
      appendedPath_ = path;
    }
    if (SetFilePointer(appended_, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
      return false;
    DWORD written = 0;
    return WriteFile(appended_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
  }

  bool Flush(const std::string& path) override {
    if (path == appendedPath_) return FlushFileBuffers(appended_);
    HANDLE file = win32::OpenFileAt(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool flushed = FlushFileBuffers(file);
    return CloseHandle(file) && flushed;
  }

  bool WriteNew(const std::string& path, std::string_view bytes) override {
    if (path == appendedPath_) CloseAppended();
    if (WriteNewFile(path, bytes, true)) return true;
    win32::DeleteFileAt(path);
    return false;
  }

  bool Replace(const std::string& from, const std::string& to) override {
    if (to == appendedPath_ || from == appendedPath_) CloseAppended();
    if (!win32::AnsiCalls()) return win32::MoveFileReplacingAt(from, to, true);
    win32::DeleteFileAt(to);
    return win32::MoveFileAt(from, to);
  }

  bool CreateNew(const std::string& path) override {
    HANDLE file = win32::OpenFileAt(path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
  }

  std::optional<std::string> ReadWhole(const std::string& path) override {
    HANDLE file =
        win32::OpenFileAt(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
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
    const DWORD attributes = win32::AttributesAt(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool FolderExists(const std::string& path) override {
    const DWORD attributes = win32::AttributesAt(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool Answers(const std::string& path) override {
    if (win32::AttributesAt(path) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return false;
    // A drive letter that stands for nothing says "path not found" too: its root must answer.
    const std::string root = PathRoot(path);
    return !root.empty() && win32::AttributesAt(root) != INVALID_FILE_ATTRIBUTES;
  }

  bool IsLink(const std::string& path) override {
    const DWORD attributes = win32::AttributesAt(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    // The tag tells a name that stands for another from a file kept compressed or
    // deduplicated; one the system does not tell counts as a link.
    const std::vector<win32::FoundFile> found = win32::FindFiles(path);
    return found.size() != 1 || found[0].reparseTag == 0 || IsReparseTagNameSurrogate(found[0].reparseTag);
  }

  FileRemoval RemoveFile(const std::string& path) override {
    if (path == appendedPath_) CloseAppended();
    if (win32::DeleteFileAt(path)) return FileRemoval::kRemoved;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return FileRemoval::kMissing;
    const DWORD attributes = win32::AttributesAt(path);
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY)) {
      win32::SetAttributesAt(path, attributes & ~FILE_ATTRIBUTE_READONLY);
      if (win32::DeleteFileAt(path)) return FileRemoval::kRemoved;
      error = GetLastError();
      win32::SetAttributesAt(path, attributes);
    }
    // A running program refuses with access denied, an open file with a sharing
    // violation.
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED)
      return FileRemoval::kInUse;
    return FileRemoval::kFailed;
  }

  bool RemoveEmptyFolder(const std::string& path) override { return win32::RemoveFolderAt(path); }

  bool RemoveAtRestart(const std::string& path) override {
    if (!win32::AnsiCalls()) return win32::RemoveAtRestartAt(path);
    // WININIT.INI removes files only: a "NUL=" line for a folder does nothing.
    const DWORD attributes = win32::AttributesAt(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // WININIT runs under DOS before Windows starts: it reads the short name, in the
    // OEM code page.
    const std::optional<std::string> shortPath = win32::ShortPathOf(path);
    const std::optional<std::string> oemPath = shortPath ? win32::Oem(*shortPath) : std::nullopt;
    const std::optional<std::string> wininit = WininitPath();
    if (!oemPath || !wininit) return false;
    const std::string old = ReadWhole(*wininit).value_or(std::string());
    return WriteNewFile(*wininit, WininitWithRemoval(old, *oemPath));
  }

  std::vector<std::string> KeepAtRestart(const std::vector<std::string>& paths) override {
    return win32::AnsiCalls() ? KeptFromWininit(paths) : KeptFromPendingRenames(paths);
  }

  bool ReplaceAtRestart(const std::string& from, const std::string& to) override {
    if (!win32::AnsiCalls()) return win32::ReplaceAtRestartAt(from, to);
    const std::optional<std::string> target = win32::ShortPathOf(to);
    const std::optional<std::string> source = win32::ShortPathOf(from);
    const std::optional<std::string> oemTarget = target ? win32::Oem(*target) : std::nullopt;
    const std::optional<std::string> oemSource = source ? win32::Oem(*source) : std::nullopt;
    const std::optional<std::string> wininit = WininitPath();
    if (!oemTarget || !oemSource || !wininit) return false;
    const std::string old = ReadWhole(*wininit).value_or(std::string());
    return WriteNewFile(*wininit, WininitWithRename(old, *oemTarget, *oemSource));
  }


  bool CopyFileTo(const std::string& from, const std::string& to) override {
    return win32::CopyFileAt(from, to, false);
  }

  bool MoveFileTo(const std::string& from, const std::string& to) override { return win32::MoveFileAt(from, to); }

  std::optional<std::string> NewTemporaryFile() override {
    const std::optional<std::string> folder = win32::TemporaryFolderPath();
    return folder ? win32::NewTemporaryFileIn(*folder, "svu") : std::nullopt;
  }

 private:
  // The NT family: the value is written only when a pair goes, and removed when
  // no pair is left.
  static std::vector<std::string> KeptFromPendingRenames(const std::vector<std::string>& paths) {
    HKEY key = nullptr;
    if (win32::OpenRegistryKey(HKEY_LOCAL_MACHINE, kSessionManager, KEY_QUERY_VALUE | KEY_SET_VALUE, key) !=
        ERROR_SUCCESS)
      return {};
    std::vector<std::string> taken;
    RegistryData data;
    if (win32::QueryRegistryData(key, kPendingRenames, data) == ERROR_SUCCESS && data.type == REG_MULTI_SZ) {
      const PathsIgnoringCase ours(paths);
      data.data =
          PendingRenamesWithout(data.data, [&](const std::string& path) { return ours.Holds(path); }, taken, true);
      const bool pairsLeft = data.data.find_first_not_of('\0') != std::string::npos;
      const LONG written = taken.empty() ? ERROR_SUCCESS
                           : pairsLeft   ? win32::SetRegistryData(key, kPendingRenames, data)
                                         : win32::DeleteRegistryValue(key, kPendingRenames);
      if (written != ERROR_SUCCESS) taken.clear();
    }
    RegCloseKey(key);
    return taken;
  }

  // Windows 9x: WININIT names a file by its short name in the OEM code page; a
  // path that does not exist is looked for as it is.
  std::vector<std::string> KeptFromWininit(const std::vector<std::string>& paths) {
    const std::optional<std::string> wininit = WininitPath();
    const std::optional<std::string> text = wininit ? ReadWhole(*wininit) : std::nullopt;
    if (!text) return {};
    std::map<std::string, std::string> byListedName;  // lower-case OEM name -> path
    for (const std::string& path : paths) {
      const std::optional<std::string> shortPath = win32::ShortPathOf(path);
      for (const std::optional<std::string>& name : {shortPath ? win32::Oem(*shortPath) : std::nullopt, win32::Oem(path)})
        if (name) byListedName.emplace(AsciiLower(*name), path);
    }
    std::vector<std::string> listed;
    const std::string kept = WininitWithout(
        *text, [&](const std::string& name) { return byListedName.count(AsciiLower(name)) > 0; }, listed, true);
    if (listed.empty() || !WriteNewFile(*wininit, kept)) return {};
    std::vector<std::string> taken;
    for (const std::string& name : listed) taken.push_back(byListedName.at(AsciiLower(name)));
    return taken;
  }

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
