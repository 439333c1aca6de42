// The subcommands of setuvane-pack. Each Add* function registers one on the
// application; when it is chosen its callback runs it and stores its exit code:
// 0 success, 1 some entries failed, 2 bad usage or an archive that cannot be read.
#pragma once

#include <CLI/CLI.hpp>

namespace setuvane::pack {

enum ExitCode : int { kSuccess = 0, kEntriesFailed = 1, kUsageOrArchiveError = 2 };

void AddListCommand(CLI::App& app, int& exitCode);
void AddTestCommand(CLI::App& app, int& exitCode);
void AddExtractCommand(CLI::App& app, int& exitCode);
void AddBuildCommand(CLI::App& app, int& exitCode);
void AddPlanCommand(CLI::App& app, int& exitCode);
void AddSignCommand(CLI::App& app, int& exitCode);
void AddWingetCommand(CLI::App& app, int& exitCode);

// The password of the installer's packages, used when none is given.
inline constexpr char kPackagePassword[] = "tarnwick";

}  // namespace setuvane::pack
