// The command line of setuvane-pack through CLI11: one subcommand per command, each
// with typed options and a generated --help that begins with its usage line.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace setuvane::pack {

// The top-level application with the help layout the tool uses.
void SetUpApplication(CLI::App& app);

// Parses the arguments (without the program's name, UTF-8) and runs the chosen
// subcommand. --help prints to standard output and gives 0; a parse error is
// described on standard error and gives 2; otherwise the exit code is the command's.
int RunCommandLine(CLI::App& app, std::vector<std::string> arguments, const int& commandExitCode);

}  // namespace setuvane::pack
