#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "system/system_library.h"
#include "system/wide_or_ansi_choice_win32.h"
#include "system/wide_or_ansi_files_win32.h"
#include "system/wide_or_ansi_registry_win32.h"
#include "system/win32_machine.h"

namespace setuvane {
namespace {

constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";

static_assert(sizeof(OSVERSIONINFOA) == 148, "GetVersionExA expects the 148-byte record");
static_assert(sizeof(STARTUPINFOA) == 68, "CreateProcessA expects the 68-byte record");
static_assert(sizeof(TOKEN_PRIVILEGES) == 16, "one privilege entry is 16 bytes");

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
    if (win32::OpenRegistryKey(parent, path, access, key_) != ERROR_SUCCESS) key_ = nullptr;
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

// winmm.dll is loaded from the system folder on first use and kept for the life
// of the process (a sound may still be playing from it).
HMODULE SoundLibrary() {
  static const auto winmm = static_cast<HMODULE>(LoadSystemLibrary("winmm.dll"));
  return winmm;
}

// A text value (REG_SZ or REG_EXPAND_SZ) of an open key.
ShellFolderValue ReadTextValue(const RegistryKey& key, const std::string& valueName) {
  if (!key.get()) return {};
  std::string text;
  const LONG result = win32::QueryRegistryText(key.get(), valueName, text);
  if (result == ERROR_INVALID_DATATYPE) return {ShellFolderValue::Kind::kNotText, {}};
  if (result != ERROR_SUCCESS) return {};
  return {ShellFolderValue::Kind::kText, text};
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

std::optional<std::string> Win32Machine::WindowsDirectory() { return win32::WindowsFolderPath(); }

std::optional<std::string> Win32Machine::SystemDirectory() { return win32::SystemFolderPath(); }

std::optional<std::string> Win32Machine::TempPath() { return win32::TemporaryFolderPath(); }

std::optional<std::string> Win32Machine::CurrentDirectory() { return win32::CurrentFolderPath(); }

std::optional<std::string> Win32Machine::ModulePath() { return win32::ModuleFilePath(nullptr); }

std::optional<std::uint32_t> Win32Machine::FileAttributes(const std::string& path) {
  QuietDriveErrors quiet;
  const DWORD attributes = win32::AttributesAt(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

bool Win32Machine::MakeDirectory(const std::string& path) { return win32::MakeFolderAt(path); }

bool Win32Machine::ChangeCurrentDirectory(const std::string& path) {
  QuietDriveErrors quiet;
  return win32::EnterFolderAt(path);
}

std::optional<DiskSpace> Win32Machine::DiskFreeSpace(const std::string& root) {
  QuietDriveErrors quiet;
  const std::optional<win32::VolumeSpace> space = win32::VolumeSpaceAt(root);
  if (!space) return std::nullopt;
  return DiskSpace{space->sectorsPerCluster, space->bytesPerSector, space->freeClusters, space->totalClusters,
                   space->bytesFreeToCaller};
}

std::optional<std::string> Win32Machine::ReadWholeFile(const std::string& path, std::uint32_t& osError) {
  QuietDriveErrors quiet;
  HANDLE file =
      win32::OpenFileAt(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
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
  PROCESS_INFORMATION process{};
  if (!win32::StartProcess({}, commandLine.c_str(), CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, {},
                           static_cast<WORD>(showWindow), process)) {
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
  using WideCall = BOOL(WINAPI*)(LPCWSTR, UINT);
  using AnsiCall = BOOL(WINAPI*)(LPCSTR, UINT);
  HMODULE winmm = SoundLibrary();
  if (!winmm) return false;
  if (!win32::AnsiCalls()) {
    const auto play = FindFunction<WideCall>(winmm, "sndPlaySoundW");
    return play && play(path ? win32::Wide(path).c_str() : nullptr, flags);
  }
  const auto play = FindFunction<AnsiCall>(winmm, "sndPlaySoundA");
  const std::optional<std::string> ansi = path ? win32::Ansi(path) : std::optional<std::string>(std::string());
  return play && ansi && play(path ? ansi->c_str() : nullptr, flags);
}

bool Win32Machine::HoldsName(const std::string& text) { return !win32::AnsiCalls() || win32::Ansi(text); }

std::optional<std::string> Win32Machine::LongPathName(const std::string& path) { return win32::LongPathOf(path); }

// The variable that gives the process another account's SID (tests of an
// uninstallation by another account than the installing one; Wine has one user).
constexpr char kUserSidVariable[] = "SETUVANE_USER_SID";

std::optional<std::string> Win32Machine::UserSid() {
  if (const char* forced = std::getenv(kUserSidVariable); forced && *forced) return std::string(forced);
  // Looked up at run time: Windows 95 exports the SID calls as stubs at most.
  const HMODULE advapi = GetModuleHandleA("advapi32.dll");
  using TokenInformation = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
  using Authority = PSID_IDENTIFIER_AUTHORITY(WINAPI*)(PSID);
  using SubAuthorityCount = PUCHAR(WINAPI*)(PSID);
  using SubAuthority = PDWORD(WINAPI*)(PSID, DWORD);
  const auto tokenInformation = FindFunction<TokenInformation>(advapi, "GetTokenInformation");
  const auto authority = FindFunction<Authority>(advapi, "GetSidIdentifierAuthority");
  const auto count = FindFunction<SubAuthorityCount>(advapi, "GetSidSubAuthorityCount");
  const auto subAuthority = FindFunction<SubAuthority>(advapi, "GetSidSubAuthority");
  if (!advapi || !tokenInformation || !authority || !count || !subAuthority) return std::nullopt;
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return std::nullopt;
  alignas(TOKEN_USER) unsigned char buffer[256];
  DWORD length = 0;
  const BOOL ok = tokenInformation(token, TokenUser, buffer, sizeof buffer, &length);
  CloseHandle(token);
  if (!ok) return std::nullopt;
  const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
  // S-1-<authority>-<sub>-…: the authority in decimal when it fits in 32 bits,
  // else as 0x and twelve hexadecimal digits.
  const BYTE* value = authority(sid)->Value;
  char part[32];
  if (value[0] == 0 && value[1] == 0) {
    std::snprintf(part, sizeof part, "%lu",
                  static_cast<unsigned long>(value[2]) << 24 | static_cast<unsigned long>(value[3]) << 16 |
                      static_cast<unsigned long>(value[4]) << 8 | value[5]);
  } else {
    std::snprintf(part, sizeof part, "0x%02X%02X%02X%02X%02X%02X", value[0], value[1], value[2], value[3], value[4],
                  value[5]);
  }
  std::string text = std::string("S-1-") + part;
  for (DWORD i = 0, n = *count(sid); i < n; ++i) {
    std::snprintf(part, sizeof part, "-%lu", static_cast<unsigned long>(*subAuthority(sid, i)));
    text += part;
  }
  return text;
}

void Win32Machine::EndProcessAtOnce(std::uint32_t exitCode) {
  TerminateProcess(GetCurrentProcess(), exitCode);
  ExitProcess(exitCode);  // not reached
}

std::string Win32Machine::AnsiCodePageText(std::string_view bytes) { return win32::FromAnsi(bytes); }

Machine& DefaultMachine() {
  static Win32Machine machine;
  return machine;
}

MutexHold Win32Machine::HoldNamedMutex(const std::string& name) {
  // This process holds it already (an installation and, in tests, an uninstallation
  // in one process): its own handle would answer ERROR_ALREADY_EXISTS.
  static std::set<std::string> held;
  if (held.count(name)) return MutexHold::kHeld;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  // Made by another account that gave this one no access: it exists all the same.
  // Any other refusal (a name too long or malformed) makes no lock at all.
  if (mutex == nullptr) return GetLastError() == ERROR_ACCESS_DENIED ? MutexHold::kHeldElsewhere : MutexHold::kFailed;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return MutexHold::kHeldElsewhere;
  }
  held.insert(name);
  return MutexHold::kHeld;  // the handle stays open until the process ends, and the mutex with it
}

}  // namespace setuvane
