// On Windows the arguments already come in the ANSI code page, which is the
// archive's text on the installer's (Polish) systems; file names are taken wide.
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "system/cp1250.h"
#include "tools/console.h"

namespace setuvane::pack {

std::optional<std::string> ArgumentToArchiveText(const std::string& argument) { return argument; }

std::string ArchiveTextToConsole(const std::string& text) { return text; }

std::filesystem::path ArgumentToPath(const std::string& argument) {
  const int length = MultiByteToWideChar(CP_ACP, 0, argument.data(), static_cast<int>(argument.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, argument.data(), static_cast<int>(argument.size()), wide.data(), length);
  return std::filesystem::path(wide);
}

// The console speaks the ANSI code page, Windows-1250 on the installer's systems.
std::string Utf8ToConsole(const std::string& text) { return Cp1250(text); }

std::filesystem::path ToolProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return std::filesystem::path(path);
    }
    path.resize(path.size() * 2);
  }
}

// The C runtime's isatty is true for every character device, the null device
// among them (2>NUL); only a console answers GetConsoleMode.
bool ErrorStreamIsTerminal() {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stderr)));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

}  // namespace setuvane::pack
