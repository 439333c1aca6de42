// On Windows the arguments already come in the ANSI code page, which is the
// archive's text on the installer's (Polish) systems.
#include <io.h>

#include <cstdio>

#include "tools/console.h"

namespace setuvane::pack {

std::optional<std::string> ArgumentToArchiveText(const std::string& argument) { return argument; }

std::string ArchiveTextToConsole(const std::string& text) { return text; }

bool ErrorStreamIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

}  // namespace setuvane::pack
