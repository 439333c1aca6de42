// Files in use on Windows: the Restart Manager's session from Windows Vista on,
// each file opened as its replacement needs it elsewhere.
#include <windows.h>

#include <restartmanager.h>

#include <optional>

#include "core/installation/file_holders.h"
#include "system/system_library.h"
#include "system/utf8.h"
#include "system/wide_or_ansi_choice_win32.h"
#include "system/wide_or_ansi_files_win32.h"

namespace setuvane {
namespace {

// RmShutdown's answer when some of the programs stay (ERROR_FAIL_SHUTDOWN, which
// the headers of this toolchain lack).
constexpr DWORD kSomeStayed = 351;

// The Restart Manager's calls, looked up once in rstrtmgr.dll of the system
// folder: none before Windows Vista, nor on Windows 9x.
struct RestartManagerCalls {
  decltype(&RmStartSession) start = nullptr;
  decltype(&RmRegisterResources) registerFiles = nullptr;
  decltype(&RmGetList) list = nullptr;
  decltype(&RmShutdown) shutdown = nullptr;
  decltype(&RmRestart) restart = nullptr;
  decltype(&RmEndSession) end = nullptr;
  bool Complete() const { return start && registerFiles && list && shutdown && restart && end; }
};

template <typename Function>
void FindCall(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const RestartManagerCalls& Calls() {
  static const RestartManagerCalls calls = [] {
    RestartManagerCalls found;
    const auto module = win32::AnsiCalls() ? nullptr : static_cast<HMODULE>(LoadSystemLibrary("rstrtmgr.dll"));
    if (!module) return found;
    FindCall(module, "RmStartSession", found.start);
    FindCall(module, "RmRegisterResources", found.registerFiles);
    FindCall(module, "RmGetList", found.list);
    FindCall(module, "RmShutdown", found.shutdown);
    FindCall(module, "RmRestart", found.restart);
    FindCall(module, "RmEndSession", found.end);
    return found;
  }();
  return calls;
}

class Win32FileHolders final : public FileHolders {
 public:
  FilesHeld Find(const std::vector<std::string>& paths) override {
    EndSession();
    if (Calls().Complete()) {
      if (std::optional<FilesHeld> held = AskRestartManager(paths)) return *held;
    }
    return TryEach(paths);
  }

  bool CloseThem() override {
    if (!session_) return false;
    const DWORD result = Calls().shutdown(*session_, 0, nullptr);
    shutDown_ = shutDown_ || result == ERROR_SUCCESS || result == kSomeStayed;
    return result == ERROR_SUCCESS;
  }

  void RestartClosed() override {
    if (session_ && shutDown_) Calls().restart(*session_, 0, nullptr);
    EndSession();
  }

 private:
  std::optional<FilesHeld> AskRestartManager(const std::vector<std::string>& paths) {
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (Calls().start(&session, 0, key) != ERROR_SUCCESS) return std::nullopt;
    session_ = session;
    std::vector<std::u16string> wide;
    for (const std::string& path : paths) wide.push_back(Utf8ToUtf16(path));
    std::vector<LPCWSTR> names;
    for (const std::u16string& name : wide) names.push_back(reinterpret_cast<LPCWSTR>(name.c_str()));
    UINT needed = 0, count = 0;
    DWORD reasons = 0;
    std::vector<RM_PROCESS_INFO> found;
    DWORD result = Calls().registerFiles(*session_, static_cast<UINT>(names.size()), names.data(), 0, nullptr, 0,
                                         nullptr);
    if (result == ERROR_SUCCESS) result = Calls().list(*session_, &needed, &count, nullptr, &reasons);
    // The list may grow between the two calls.
    for (int tries = 0; result == ERROR_MORE_DATA && tries < 5; ++tries) {
      found.resize(needed);
      count = needed;
      result = Calls().list(*session_, &needed, &count, found.data(), &reasons);
    }
    if (result != ERROR_SUCCESS) {
      EndSession();
      return std::nullopt;
    }
    FilesHeld held;
    for (UINT i = 0; i < count && i < found.size(); ++i)
      held.programs.push_back({Utf16ToUtf8(reinterpret_cast<const char16_t*>(found[i].strAppName)),
                               found[i].Process.dwProcessId});
    return held;
  }

  // Opened as the installation will move it aside: for deletion, every kind of
  // sharing granted, on the NT family (a running program may be moved there);
  // alone on Windows 9x, which moves no file that is open.
  static FilesHeld TryEach(const std::vector<std::string>& paths) {
    const bool nine = win32::AnsiCalls();
    const DWORD access = nine ? GENERIC_READ : DELETE;
    const DWORD share = nine ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    FilesHeld held;
    for (const std::string& path : paths) {
      HANDLE file = win32::OpenFileAt(path, access, share, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
      if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        continue;
      }
      const DWORD error = GetLastError();
      if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) held.files.push_back(path);
    }
    return held;
  }

  void EndSession() {
    if (session_) Calls().end(*session_);
    session_.reset();
    shutDown_ = false;
  }

  std::optional<DWORD> session_;
  bool shutDown_ = false;
};

}  // namespace

FileHolders& DefaultFileHolders() {
  static Win32FileHolders holders;
  return holders;
}

}  // namespace setuvane
