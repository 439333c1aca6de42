// setuvane-pack: the package tool. `setuvane-pack COMMAND [OPTIONS] ARGUMENTS`.
#include <cstdio>
#include <cstring>

#include "tools/command.h"

namespace {

using setuvane::pack::Command;

const Command kCommands[] = {
    {"list", "list the entries of an archive", setuvane::pack::RunList},
    {"test", "decode every entry and check its CRC", setuvane::pack::RunTest},
    {"extract", "extract entries to disk", setuvane::pack::RunExtract},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "usage: setuvane-pack COMMAND [OPTIONS] ARGUMENTS\n\ncommands:\n");
  for (const Command& command : kCommands) std::fprintf(out, "  %-9s %s\n", command.name, command.summary);
  std::fprintf(out, "\n`setuvane-pack COMMAND --help` describes a command.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return setuvane::pack::kUsageOrArchiveError;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintUsage(stdout);
    return setuvane::pack::kSuccess;
  }
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(setuvane::pack::Arguments(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "setuvane-pack: unknown command '%s'\n\n", argv[1]);
  PrintUsage(stderr);
  return setuvane::pack::kUsageOrArchiveError;
}
