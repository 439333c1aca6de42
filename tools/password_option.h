// The -P option of test and extract: the package password by default, keyed with
// its Windows-1250 bytes as the installer keys it.
#pragma once

#include <optional>
#include <string>

#include <CLI/CLI.hpp>

namespace setuvane::pack {

// Adds -P/--password to `command`, storing the text given into `password`.
void AddPasswordOption(CLI::App& command, std::string& password);

// The password as archive text; nothing (after printing why) when it has no
// Windows-1250 form.
std::optional<std::string> PasswordText(const std::string& given, const char* command);

}  // namespace setuvane::pack
