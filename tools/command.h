// The subcommands of setuvane-pack. Each takes the arguments after its name and
// returns the exit code: 0 success, 1 some entries failed, 2 bad usage or an archive
// that cannot be read.
#pragma once

#include <string>
#include <vector>

namespace setuvane::pack {

enum ExitCode : int { kSuccess = 0, kEntriesFailed = 1, kUsageOrArchiveError = 2 };

using Arguments = std::vector<std::string>;

struct Command {
  const char* name;
  const char* summary;
  int (*run)(const Arguments& arguments);
};

int RunList(const Arguments& arguments);
int RunTest(const Arguments& arguments);
int RunExtract(const Arguments& arguments);

// The password of the installer's packages, used when none is given.
inline constexpr char kPackagePassword[] = "tarnwick";

}  // namespace setuvane::pack
