// The command line of an unattended installation. Without switches the installer
// is the interactive wizard; with them an administrator can install without a
// person at the screen. Windows conventions: a switch starts with "/" or "-", its
// name is compared without regard to case, a value follows "=", and double quotes
// keep blanks inside a value (a backslash is an ordinary character, so that a
// quoted folder may end in one).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setuvane {

enum class RunMode { kInteractive, kSilent, kVerySilent };

struct Switches {
  RunMode mode = RunMode::kInteractive;
  std::optional<std::string> folder;  // /DIR=
  bool restart = false;               // /RESTART
  std::optional<std::string> log;     // /LOG=
  // /UNINSTALL: empty for the uninstaller in the program folder (which runs a copy
  // of itself from the temporary folder), the uninstall record's path for that copy.
  std::optional<std::string> uninstall;
  bool help = false;                  // /? or a switch that is not understood
  std::string refused;                // the first argument not understood
};

// The arguments of a command line (without the program's name), as Windows-1250.
std::vector<std::string> SplitArguments(std::string_view commandLine);

// The switches of the arguments; `help` is set for "/?" and for anything not
// understood (named in `refused`).
Switches ParseSwitches(const std::vector<std::string>& arguments);

// The text of the message window that lists the switches (Windows-1250).
std::string SwitchesHelpText();

// The notice for a log file of /LOG that cannot be created (Windows-1250).
std::string LogNotCreatedText(const std::string& path);

// The switches the program was started with (none for the interactive wizard).
Switches& ProgramSwitches();

// The rest of a whole command line after the program's name (quoted or not).
std::string_view AfterProgramName(std::string_view commandLine);

}  // namespace setuvane
