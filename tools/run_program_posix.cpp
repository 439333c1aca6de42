#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "tools/run_program.h"

extern char** environ;

namespace setuvane::pack {

std::optional<int> RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return std::nullopt;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  if (!WIFEXITED(status)) return std::nullopt;
  const int code = WEXITSTATUS(status);
  // posix_spawnp reports a program it could not find as the child's exit code 127.
  if (code == 127) return std::nullopt;
  return code;
}

}  // namespace setuvane::pack
