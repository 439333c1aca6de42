// On POSIX systems arguments and the terminal speak UTF-8.
#include <unistd.h>

#include "system/cp1250.h"
#include "tools/console.h"

namespace setuvane::pack {

std::optional<std::string> ArgumentToArchiveText(const std::string& argument) { return Utf8ToCp1250(argument); }

std::string ArchiveTextToConsole(const std::string& text) { return Cp1250ToUtf8(text); }

std::filesystem::path ArgumentToPath(const std::string& argument) {
  return std::filesystem::path(std::u8string(argument.begin(), argument.end()));
}

std::string Utf8ToConsole(const std::string& text) { return text; }

std::filesystem::path ToolProgramPath() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error);
}

bool ErrorStreamIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace setuvane::pack
