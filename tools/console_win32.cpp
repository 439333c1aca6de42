// On Windows the arguments already come in the ANSI code page, which is the
// archive's text on the installer's (Polish) systems.
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "tools/console.h"

namespace setuvane::pack {

std::optional<std::string> ArgumentToArchiveText(const std::string& argument) { return argument; }

std::string ArchiveTextToConsole(const std::string& text) { return text; }

// The C runtime's isatty is true for every character device, the null device
// among them (2>NUL); only a console answers GetConsoleMode.
bool ErrorStreamIsTerminal() {
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stderr)));
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

}  // namespace setuvane::pack
