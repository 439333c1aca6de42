// On POSIX systems arguments and the terminal speak UTF-8.
#include <unistd.h>

#include "tools/console.h"

namespace setuvane::pack {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void PrepareConsole() {}

std::filesystem::path ToolProgramPath() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error);
}

bool ErrorStreamIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace setuvane::pack
