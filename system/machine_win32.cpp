#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "system/system_library.h"
#include "system/win32_machine.h"

namespace setuvane {
namespace {

constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
// The classic folder buffer: 256 bytes, of which 255 are offered to the call.
constexpr DWORD kClassicPathSize = 255;
// No Win32 path is longer than this.
constexpr DWORD kLongestPath = 32768;

static_assert(sizeof(OSVERSIONINFOA) == 148, "GetVersionExA expects the 148-byte record");
static_assert(sizeof(STARTUPINFOA) == 68, "CreateProcessA expects the 68-byte record");
static_assert(sizeof(TOKEN_PRIVILEGES) == 16, "one privilege entry is 16 bytes");

// Calls a folder query of the GetWindowsDirectoryA kind (text length on success,
// the needed size with its NUL when the buffer is too small, 0 on failure) first
// with the classic buffer and again with the size it asked for, so that a long
// folder is never cut.
template <typename Query>
std::optional<std::string> QueryPath(Query query) {
  std::string buffer(kClassicPathSize + 1, '\0');
  DWORD offered = kClassicPathSize;
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD length = query(buffer.data(), offered);
    if (length == 0) return std::nullopt;
    if (length < offered) {
      buffer.resize(length);
      return buffer;
    }
    if (length > kLongestPath) return std::nullopt;
    buffer.assign(length + 1, '\0');
    offered = length + 1;
  }
  return std::nullopt;  // the folder kept changing under us
}

// Keeps Windows from asking the user to insert a disk while a removable drive
// without a medium is queried; the query simply fails instead.
class QuietDriveErrors {
 public:
  // SetErrorMode replaces the whole mode: keep the flags already set.
  QuietDriveErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {
    SetErrorMode(previous_ | SEM_FAILCRITICALERRORS);
  }
  ~QuietDriveErrors() { SetErrorMode(previous_); }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  UINT previous_;
};

class RegistryKey {
 public:
  RegistryKey(HKEY parent, const char* path, REGSAM access) {
    if (RegOpenKeyExA(parent, path, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// GetProcAddress typed as the function it finds (through the generic function
// pointer type, which any function pointer converts from).
template <typename Function>
Function FindFunction(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

using SndPlaySoundA = BOOL(WINAPI*)(LPCSTR, UINT);

// winmm.dll is loaded from the system folder on first use and kept for the life
// of the process (a sound may still be playing from it).
SndPlaySoundA SoundFunction() {
  static SndPlaySoundA function = [] {
    auto winmm = static_cast<HMODULE>(LoadSystemLibrary("winmm.dll"));
    return winmm ? FindFunction<SndPlaySoundA>(winmm, "sndPlaySoundA") : nullptr;
  }();
  return function;
}

// A text value (REG_SZ or REG_EXPAND_SZ, taken as stored) of an open key.
ShellFolderValue ReadTextValue(const RegistryKey& key, const std::string& valueName) {
  if (!key.get()) return {};
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {ShellFolderValue::Kind::kNotText, {}};
  std::vector<char> data;
  LONG status;
  do {
    data.assign(size + 1, '\0');  // room for a NUL the stored value may lack
    status = RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                              &size);
  } while (status == ERROR_MORE_DATA);
  if (status != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) return {ShellFolderValue::Kind::kNotText, {}};
  return {ShellFolderValue::Kind::kText, std::string(data.data(), strnlen(data.data(), size))};
}

}  // namespace

ShellFolderValue Win32Machine::ReadShellFolderValue(const std::string& valueName) {
  RegistryKey key(HKEY_CURRENT_USER, kShellFoldersKey, KEY_ALL_ACCESS);
  return ReadTextValue(key, valueName);
}

std::optional<std::string> Win32Machine::ProgramFilesDirectory() {
  // Read access only, and no KEY_WOW64_64KEY: the view of this 32-bit program.
  RegistryKey key(HKEY_LOCAL_MACHINE, kCurrentVersionKey, KEY_QUERY_VALUE);
  ShellFolderValue value = ReadTextValue(key, "ProgramFilesDir");
  if (value.kind != ShellFolderValue::Kind::kText) return std::nullopt;
  return value.text;
}

std::optional<std::string> Win32Machine::WindowsDirectory() {
  return QueryPath([](char* buffer, DWORD size) { return GetWindowsDirectoryA(buffer, size); });
}

std::optional<std::string> Win32Machine::SystemDirectory() {
  return QueryPath([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); });
}

std::optional<std::string> Win32Machine::TempPath() {
  return QueryPath([](char* buffer, DWORD size) { return GetTempPathA(size, buffer); });
}

std::optional<std::string> Win32Machine::CurrentDirectory() {
  return QueryPath([](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

std::optional<std::string> Win32Machine::ModulePath() {
  // GetModuleFileNameA fills the whole buffer when it is too small and does not
  // tell the size it needs: grow until the name fits.
  for (DWORD size = MAX_PATH; size <= kLongestPath; size *= 2) {
    std::string buffer(size, '\0');
    DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
    if (length == 0) return std::nullopt;
    if (length < size) {
      buffer.resize(length);
      return buffer;
    }
  }
  return std::nullopt;
}

std::optional<std::uint32_t> Win32Machine::FileAttributes(const std::string& path) {
  QuietDriveErrors quiet;
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

bool Win32Machine::MakeDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool Win32Machine::ChangeCurrentDirectory(const std::string& path) {
  QuietDriveErrors quiet;
  return SetCurrentDirectoryA(path.c_str()) != 0;
}

std::optional<DiskSpace> Win32Machine::DiskFreeSpace(const std::string& root) {
  QuietDriveErrors quiet;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) {
    return std::nullopt;
  }
  DiskSpace space{sectorsPerCluster, bytesPerSector, freeClusters, totalClusters, std::nullopt};
  // The cluster counts stop at 2 GiB on some systems; the 64-bit query (absent
  // from the first Windows 95) gives the true count where it exists.
  using GetDiskFreeSpaceExAFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  auto query = FindFunction<GetDiskFreeSpaceExAFunction>(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA");
  ULARGE_INTEGER available, total, totalFree;
  if (query && query(root.c_str(), &available, &total, &totalFree)) space.totalFreeBytes = totalFree.QuadPart;
  return space;
}

std::optional<std::string> Win32Machine::ReadWholeFile(const std::string& path, std::uint32_t& osError) {
  QuietDriveErrors quiet;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    osError = GetLastError();
    return std::nullopt;
  }
  std::string content;
  char chunk[16384];
  DWORD got = 0;
  BOOL ok;
  while ((ok = ReadFile(file, chunk, sizeof(chunk), &got, nullptr)) && got > 0) content.append(chunk, got);
  if (!ok) osError = GetLastError();
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return content;
}

std::optional<VersionRecord> Win32Machine::Version() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(&info)) return std::nullopt;
  return VersionRecord{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
}

std::optional<std::uint32_t> Win32Machine::RunProcess(const std::string& commandLine, int showWindow) {
  // CreateProcessA may write into the command line, so it gets a copy of its own,
  // as long as the command line is.
  std::vector<char> buffer(commandLine.c_str(), commandLine.c_str() + std::strlen(commandLine.c_str()) + 1);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showWindow);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &process)) {
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.hProcess, &exitCode)) exitCode = 0;
  CloseHandle(process.hProcess);
  return exitCode;
}

std::optional<Machine::Handle> Win32Machine::OpenOwnToken(std::uint32_t access) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), access, &token)) return std::nullopt;
  return reinterpret_cast<Handle>(token);
}

std::optional<std::uint64_t> Win32Machine::LookupPrivilege(const std::string& name) {
  LUID luid{};
  if (!LookupPrivilegeValueA(nullptr, name.c_str(), &luid)) return std::nullopt;
  return (std::uint64_t{static_cast<std::uint32_t>(luid.HighPart)} << 32) | luid.LowPart;
}

std::uint32_t Win32Machine::EnablePrivilege(Handle token, std::uint64_t privilege, std::uint32_t attributes) {
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Luid.LowPart = static_cast<DWORD>(privilege);
  privileges.Privileges[0].Luid.HighPart = static_cast<LONG>(privilege >> 32);
  privileges.Privileges[0].Attributes = attributes;
  // Success leaves the last error alone on some systems; clear it so that only
  // this call's outcome (ERROR_NOT_ALL_ASSIGNED among others) is read.
  SetLastError(ERROR_SUCCESS);
  AdjustTokenPrivileges(reinterpret_cast<HANDLE>(token), FALSE, &privileges, sizeof(privileges), nullptr, nullptr);
  return GetLastError();
}

void Win32Machine::ReleaseHandle(Handle handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

bool Win32Machine::RequestExitWindows(std::uint32_t flags) { return ExitWindowsEx(flags, 0) != 0; }

bool Win32Machine::PlaySoundFile(const char* path, std::uint32_t flags) {
  SndPlaySoundA play = SoundFunction();
  return play && play(path, flags);
}

Machine& DefaultMachine() {
  static Win32Machine machine;
  return machine;
}

bool Win32Machine::HoldNamedMutex(const std::string& name) {
  // This process holds it already (an installation and, in tests, an uninstallation
  // in one process): its own handle would answer ERROR_ALREADY_EXISTS.
  static std::set<std::string> held;
  if (held.count(name)) return true;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  // Made by another account that gave this one no access: it exists all the same.
  if (mutex == nullptr) return GetLastError() != ERROR_ACCESS_DENIED;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  held.insert(name);
  return true;  // the handle stays open until the process ends, and the mutex with it
}

}  // namespace setuvane
