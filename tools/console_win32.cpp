// On Windows the arguments are read as UTF-16 (the ANSI command line would lose
// whatever the code page lacks), and a console is switched to UTF-8 while the tool
// runs; printed into a file or a pipe, the text stays UTF-8.
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "system/utf8.h"
#include "tools/console.h"

namespace setuvane::pack {
namespace {

UINT g_consoleCodePage = 0;

void RestoreConsole() { SetConsoleOutputCP(g_consoleCodePage); }

bool IsConsole(std::FILE* stream) {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

std::string Utf8Of(const wchar_t* text) { return Utf16ToUtf8(reinterpret_cast<const char16_t*>(text)); }

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Utf8Of(wide[i]));
  LocalFree(wide);
  return arguments;
}

void PrepareConsole() {
  if (!IsConsole(stdout) && !IsConsole(stderr)) return;
  g_consoleCodePage = GetConsoleOutputCP();
  if (g_consoleCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) std::atexit(RestoreConsole);
}

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
bool ErrorStreamIsTerminal() { return IsConsole(stderr); }

}  // namespace setuvane::pack
