#include "system/wide_or_ansi_files_win32.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "system/wide_or_ansi_choice_win32.h"

namespace setuvane::win32 {
namespace {

// The classic folder buffer offers 255 characters; no Win32 path is longer than
// kLongestPath.
constexpr DWORD kClassicPathSize = 255;
constexpr DWORD kLongestPath = 32768;

// `wide` with the path in UTF-16 on the NT family, `ansi` with its ANSI form on
// Windows 9x; `refused` (with kNameNotHeld) when the code page cannot hold it.
template <class Result, class WideCall, class AnsiCall>
Result WithPath(const std::string& path, Result refused, WideCall wide, AnsiCall ansi) {
  if (!AnsiCalls()) return wide(Wide(path).c_str());
  const std::optional<std::string> text = Ansi(path);
  if (!text) {
    SetLastError(kNameNotHeld);
    return refused;
  }
  return ansi(text->c_str());
}

template <class Result, class WideCall, class AnsiCall>
Result WithPaths(const std::string& first, const std::string& second, Result refused, WideCall wide, AnsiCall ansi) {
  if (!AnsiCalls()) return wide(Wide(first).c_str(), Wide(second).c_str());
  const std::optional<std::string> one = Ansi(first);
  const std::optional<std::string> other = Ansi(second);
  if (!one || !other) {
    SetLastError(kNameNotHeld);
    return refused;
  }
  return ansi(one->c_str(), other->c_str());
}

// A folder query of the GetWindowsDirectory kind (the text's length on success,
// the size it needs with its NUL when the buffer is too small, 0 on failure),
// asked with the classic buffer and again with the size it asked for, so that a
// long folder is never cut.
template <class Char, class Query>
std::optional<std::basic_string<Char>> GrownQuery(Query query) {
  std::basic_string<Char> buffer(kClassicPathSize + 1, Char{});
  DWORD offered = kClassicPathSize;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length = query(buffer.data(), offered);
    if (length == 0) return std::nullopt;
    if (length < offered) {
      buffer.resize(length);
      return buffer;
    }
    if (length > kLongestPath) return std::nullopt;
    buffer.assign(length + 1, Char{});
    offered = length + 1;
  }
  return std::nullopt;  // the folder kept changing under us
}

template <class WideQuery, class AnsiQuery>
std::optional<std::string> FolderQuery(WideQuery wide, AnsiQuery ansi) {
  if (!AnsiCalls()) {
    const std::optional<std::wstring> text = GrownQuery<wchar_t>(wide);
    return text ? std::optional<std::string>(FromWide(text->data(), text->size())) : std::nullopt;
  }
  const std::optional<std::string> text = GrownQuery<char>(ansi);
  return text ? std::optional<std::string>(FromAnsi(*text)) : std::nullopt;
}

bool MoveFileExCall(const std::string& from, const std::string* to, DWORD flags) {
  if (AnsiCalls()) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  return MoveFileExW(Wide(from).c_str(), to ? Wide(*to).c_str() : nullptr, flags) != 0;
}

}  // namespace

HANDLE OpenFileAt(const std::string& path, DWORD access, DWORD share, DWORD creation, DWORD flags) {
  return WithPath(
      path, INVALID_HANDLE_VALUE,
      [&](const wchar_t* p) { return CreateFileW(p, access, share, nullptr, creation, flags, nullptr); },
      [&](const char* p) { return CreateFileA(p, access, share, nullptr, creation, flags, nullptr); });
}

bool MakeFolderAt(const std::string& path) {
  return WithPath(
      path, false, [](const wchar_t* p) { return CreateDirectoryW(p, nullptr) != 0; },
      [](const char* p) { return CreateDirectoryA(p, nullptr) != 0; });
}

bool RemoveFolderAt(const std::string& path) {
  return WithPath(
      path, false, [](const wchar_t* p) { return RemoveDirectoryW(p) != 0; },
      [](const char* p) { return RemoveDirectoryA(p) != 0; });
}

bool DeleteFileAt(const std::string& path) {
  return WithPath(
      path, false, [](const wchar_t* p) { return DeleteFileW(p) != 0; },
      [](const char* p) { return DeleteFileA(p) != 0; });
}

bool MoveFileAt(const std::string& from, const std::string& to) {
  return WithPaths(
      from, to, false, [](const wchar_t* f, const wchar_t* t) { return MoveFileW(f, t) != 0; },
      [](const char* f, const char* t) { return MoveFileA(f, t) != 0; });
}

bool CopyFileAt(const std::string& from, const std::string& to, bool failIfExists) {
  return WithPaths(
      from, to, false, [&](const wchar_t* f, const wchar_t* t) { return CopyFileW(f, t, failIfExists) != 0; },
      [&](const char* f, const char* t) { return CopyFileA(f, t, failIfExists) != 0; });
}

bool MoveFileReplacingAt(const std::string& from, const std::string& to, bool writeThrough) {
  return MoveFileExCall(from, &to, MOVEFILE_REPLACE_EXISTING | (writeThrough ? MOVEFILE_WRITE_THROUGH : 0));
}

bool RemoveAtRestartAt(const std::string& path) { return MoveFileExCall(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT); }

bool ReplaceAtRestartAt(const std::string& from, const std::string& to) {
  return MoveFileExCall(from, &to, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING);
}

DWORD AttributesAt(const std::string& path) {
  return WithPath(
      path, INVALID_FILE_ATTRIBUTES, [](const wchar_t* p) { return GetFileAttributesW(p); },
      [](const char* p) { return GetFileAttributesA(p); });
}

bool SetAttributesAt(const std::string& path, DWORD attributes) {
  return WithPath(
      path, false, [&](const wchar_t* p) { return SetFileAttributesW(p, attributes) != 0; },
      [&](const char* p) { return SetFileAttributesA(p, attributes) != 0; });
}

std::vector<FoundFile> FindFiles(const std::string& mask) {
  std::vector<FoundFile> found;
  if (!AnsiCalls()) {
    // A system that does not give the reparse tag (Wine) leaves it 0.
    WIN32_FIND_DATAW data = {};
    HANDLE search = FindFirstFileW(Wide(mask).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
      found.push_back({FromWide(data.cFileName), data.dwFileAttributes, data.dwReserved0});
      data.dwReserved0 = 0;
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
  }
  const std::optional<std::string> ansiMask = Ansi(mask);
  WIN32_FIND_DATAA data = {};
  HANDLE search = ansiMask ? FindFirstFileA(ansiMask->c_str(), &data) : INVALID_HANDLE_VALUE;
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    found.push_back({FromAnsi(data.cFileName), data.dwFileAttributes, data.dwReserved0});
    data.dwReserved0 = 0;
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return found;
}

std::optional<std::string> WindowsFolderPath() {
  return FolderQuery([](wchar_t* b, DWORD s) { return GetWindowsDirectoryW(b, s); },
                     [](char* b, DWORD s) { return GetWindowsDirectoryA(b, s); });
}

std::optional<std::string> SystemFolderPath() {
  return FolderQuery([](wchar_t* b, DWORD s) { return GetSystemDirectoryW(b, s); },
                     [](char* b, DWORD s) { return GetSystemDirectoryA(b, s); });
}

std::optional<std::string> TemporaryFolderPath() {
  return FolderQuery([](wchar_t* b, DWORD s) { return GetTempPathW(s, b); },
                     [](char* b, DWORD s) { return GetTempPathA(s, b); });
}

std::optional<std::string> CurrentFolderPath() {
  return FolderQuery([](wchar_t* b, DWORD s) { return GetCurrentDirectoryW(s, b); },
                     [](char* b, DWORD s) { return GetCurrentDirectoryA(s, b); });
}

bool EnterFolderAt(const std::string& path) {
  return WithPath(
      path, false, [](const wchar_t* p) { return SetCurrentDirectoryW(p) != 0; },
      [](const char* p) { return SetCurrentDirectoryA(p) != 0; });
}

std::optional<std::string> ModuleFilePath(HMODULE module) {
  // GetModuleFileName fills the whole buffer when it is too small and does not
  // tell the size it needs: grown until the name fits.
  for (DWORD size = MAX_PATH; size <= kLongestPath; size *= 2) {
    if (!AnsiCalls()) {
      std::wstring buffer(size, L'\0');
      const DWORD length = GetModuleFileNameW(module, buffer.data(), size);
      if (length == 0) return std::nullopt;
      if (length < size) return FromWide(buffer.data(), length);
    } else {
      std::string buffer(size, '\0');
      const DWORD length = GetModuleFileNameA(module, buffer.data(), size);
      if (length == 0) return std::nullopt;
      if (length < size) return FromAnsi(std::string_view(buffer.data(), length));
    }
  }
  return std::nullopt;
}

std::optional<std::string> NewTemporaryFileIn(const std::string& folder, const char* prefix) {
  if (!AnsiCalls()) {
    std::wstring name(MAX_PATH + 1, L'\0');
    if (!GetTempFileNameW(Wide(folder).c_str(), Wide(prefix).c_str(), 0, name.data())) return std::nullopt;
    return FromWide(name.c_str());
  }
  const std::optional<std::string> ansiFolder = Ansi(folder);
  char name[MAX_PATH + 1] = {};
  if (!ansiFolder || !GetTempFileNameA(ansiFolder->c_str(), prefix, 0, name)) return std::nullopt;
  return FromAnsi(name);
}

namespace {

// Another form of a path through a call of GetShortPathName's shape (the path, a
// buffer, its size; the length needed when it is too small): the W call asked for
// the size first, the ANSI call with the classic buffer.
template <class WideCall, class AnsiCall>
std::optional<std::string> PathThrough(const std::string& path, WideCall wideCall, AnsiCall ansiCall) {
  if (!AnsiCalls()) {
    const std::wstring wide = Wide(path);
    const DWORD needed = wideCall(wide.c_str(), nullptr, 0);
    std::wstring result(needed + 1, L'\0');
    const DWORD length = needed ? wideCall(wide.c_str(), result.data(), needed + 1) : 0;
    if (length == 0 || length > needed) return std::nullopt;
    return FromWide(result.data(), length);
  }
  const std::optional<std::string> ansi = Ansi(path);
  char result[MAX_PATH] = {};
  const DWORD length = ansi ? ansiCall(ansi->c_str(), result, MAX_PATH) : 0;
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return FromAnsi(std::string_view(result, length));
}

// Windows 95 and NT 4.0 have no GetLongPathName: the folder's own listing names each
// part. The root ("C:\\", "\\\\server\\share\\") stays as it is.
std::optional<std::string> LongPathByParts(const std::string& path) {
  size_t at = path.size() >= 3 && path[1] == ':' && path[2] == '\\' ? 3 : std::string::npos;
  if (path.compare(0, 2, "\\\\") == 0) {
    const size_t server = path.find('\\', 2);
    const size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
    at = share == std::string::npos ? share : share + 1;
  }
  if (at == std::string::npos) return std::nullopt;
  std::string resolved = path.substr(0, at);
  while (at < path.size()) {
    size_t end = path.find('\\', at);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(at, end - at);
    if (part.empty() || part.find_first_of("*?") != std::string::npos) return std::nullopt;
    const std::vector<FoundFile> found = FindFiles(resolved + part);
    if (found.size() != 1) return std::nullopt;
    resolved += found[0].name;
    if (end < path.size()) resolved += '\\';
    at = end + 1;
  }
  return resolved;
}

}  // namespace

std::optional<std::string> ShortPathOf(const std::string& path) {
  return PathThrough(path, GetShortPathNameW, GetShortPathNameA);
}

std::optional<std::string> LongPathOf(const std::string& path) {
  using LongPathNameW = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
  using LongPathNameA = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
  static const auto wideCall =
      reinterpret_cast<LongPathNameW>(reinterpret_cast<void (*)()>(LoadedFunction("kernel32.dll", "GetLongPathNameW")));
  static const auto ansiCall =
      reinterpret_cast<LongPathNameA>(reinterpret_cast<void (*)()>(LoadedFunction("kernel32.dll", "GetLongPathNameA")));
  if (AnsiCalls() ? ansiCall == nullptr : wideCall == nullptr) return LongPathByParts(path);
  return PathThrough(path, wideCall, ansiCall);
}

std::optional<VolumeSpace> VolumeSpaceAt(const std::string& root) {
  VolumeSpace space;
  const bool counted = WithPath(
      root, false,
      [&](const wchar_t* r) {
        return GetDiskFreeSpaceW(r, &space.sectorsPerCluster, &space.bytesPerSector, &space.freeClusters,
                                 &space.totalClusters) != 0;
      },
      [&](const char* r) {
        return GetDiskFreeSpaceA(r, &space.sectorsPerCluster, &space.bytesPerSector, &space.freeClusters,
                                 &space.totalClusters) != 0;
      });
  if (!counted) return std::nullopt;
  // The 64-bit query came with Windows 95 OSR2 and NT 4.0: looked up, never imported.
  ULARGE_INTEGER toCaller, total, free;
  using WideQuery = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  using AnsiQuery = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  const bool asked = WithPath(
      root, false,
      [&](const wchar_t* r) {
        const auto query = LoadedFunctionAs<WideQuery>("kernel32.dll", "GetDiskFreeSpaceExW");
        return query && query(r, &toCaller, &total, &free);
      },
      [&](const char* r) {
        const auto query = LoadedFunctionAs<AnsiQuery>("kernel32.dll", "GetDiskFreeSpaceExA");
        return query && query(r, &toCaller, &total, &free);
      });
  if (asked) space.bytesFreeToCaller = toCaller.QuadPart;
  return space;
}

bool StartProcess(const std::string& application, const std::string& commandLine, DWORD flags,
                  const std::string& folder, std::optional<WORD> show, PROCESS_INFORMATION& process) {
  const DWORD startupFlags = show ? STARTF_USESHOWWINDOW : 0;
  const WORD showWindow = show.value_or(0);
  if (!AnsiCalls()) {
    std::wstring line = Wide(commandLine);  // its own copy, writable
    const std::wstring program = Wide(application);
    const std::wstring current = Wide(folder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = startupFlags;
    startup.wShowWindow = showWindow;
    return CreateProcessW(application.empty() ? nullptr : program.c_str(), line.data(), nullptr, nullptr, FALSE, flags,
                          nullptr, folder.empty() ? nullptr : current.c_str(), &startup, &process) != 0;
  }
  std::optional<std::string> line = Ansi(commandLine);
  const std::optional<std::string> program = Ansi(application);
  const std::optional<std::string> current = Ansi(folder);
  if (!line || !program || !current) {
    SetLastError(kNameNotHeld);
    return false;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = startupFlags;
  startup.wShowWindow = showWindow;
  return CreateProcessA(application.empty() ? nullptr : program->c_str(), line->data(), nullptr, nullptr, FALSE, flags,
                        nullptr, folder.empty() ? nullptr : current->c_str(), &startup, &process) != 0;
}

std::string ProgramCommandLine() { return AnsiCalls() ? FromAnsi(GetCommandLineA()) : FromWide(GetCommandLineW()); }

std::FILE* OpenStreamForWriting(const std::string& path) {
  return WithPath(
      path, static_cast<std::FILE*>(nullptr), [](const wchar_t* p) { return _wfopen(p, L"wb"); },
      [](const char* p) { return std::fopen(p, "wb"); });
}

}  // namespace setuvane::win32
