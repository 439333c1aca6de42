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
  bool help = false;                  // /?, or an argument not understood in an unattended run
  std::string refused;                // that argument (the first one)
  // Arguments not understood in an interactive run: a launcher may pass its own
  // (a path, an autorun parameter); the wizard runs without them.
  std::vector<std::string> ignored;
  // /NORESTART, /SUPPRESSMSGBOXES and /SP-, which deployment tools and
  // administrators send out of habit: each asks for what a run does anyway (it
  // restarts only with /RESTART, asks nothing when unattended, shows no notice
  // before the wizard), so they are accepted in every run and only logged.
  std::vector<std::string> harmless;
};

// The arguments of a command line (without the program's name), as UTF-8.
std::vector<std::string> SplitArguments(std::string_view commandLine);

// The switches of the arguments; `help` is set for "/?" and, with /SILENT or
// /VERYSILENT, for anything not understood (named in `refused`). Without them an
// argument not understood is only noted in `ignored`.
Switches ParseSwitches(const std::vector<std::string>& arguments);

// The text of the message window that lists the switches.
std::string SwitchesHelpText();

// The notice for a log file of /LOG that cannot be created.
std::string LogNotCreatedText(const std::string& path);

// The switches the program was started with (none for the interactive wizard).
Switches& ProgramSwitches();

// The rest of a whole command line after the program's name (quoted or not).
std::string_view AfterProgramName(std::string_view commandLine);

}  // namespace setuvane
