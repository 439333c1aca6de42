// The edges of the tool: its command line and console speak UTF-8 (on Windows the
// arguments are taken as UTF-16 and the console is switched to UTF-8 for the run),
// paths are the program's UTF-8 as everywhere inside, and the archive's own texts
// (entry names, destinations, masks, passwords) are Windows-1250, as on the
// installer's systems.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace setuvane::pack {

// The program's arguments (without the program's name) as UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes the console show the UTF-8 the tool prints, for the rest of the run.
void PrepareConsole();

// A command-line argument as archive text (a password, a mask); nothing when it has
// no Windows-1250 form.
std::optional<std::string> ArgumentToArchiveText(const std::string& argument);

// Archive text (a stored name, a destination) for printing.
std::string ArchiveTextToConsole(const std::string& text);

// A command-line argument naming a file of the machine the tool runs on.
std::filesystem::path ArgumentToPath(const std::string& argument);

// The file of this running tool.
std::filesystem::path ToolProgramPath();

// True when standard error is a terminal, where a progress line makes sense.
bool ErrorStreamIsTerminal();

}  // namespace setuvane::pack
