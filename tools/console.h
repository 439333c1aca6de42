// The edges between the tool's console and the archive code, whose text is
// Windows-1250 as on the installer's systems.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace setuvane::pack {

// A command-line argument as archive text (a password, a path); nothing when it has
// no Windows-1250 form.
std::optional<std::string> ArgumentToArchiveText(const std::string& argument);

// Archive text (a stored name, a destination) for printing.
std::string ArchiveTextToConsole(const std::string& text);

// A command-line argument naming a file of the machine the tool runs on.
std::filesystem::path ArgumentToPath(const std::string& argument);

// UTF-8 text (the manifest's, file names, the build's messages) for printing.
std::string Utf8ToConsole(const std::string& text);

// The file of this running tool.
std::filesystem::path ToolProgramPath();

// True when standard error is a terminal, where a progress line makes sense.
bool ErrorStreamIsTerminal();

}  // namespace setuvane::pack
