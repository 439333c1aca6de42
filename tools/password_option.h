// The -P option of test and extract: the package password by default, keyed with
// its Windows-1250 bytes as the installer keys it.
#pragma once

#include <optional>
#include <string>

#include "tools/options.h"

namespace setuvane::pack {

// Nothing (after printing why) when the password has no Windows-1250 form.
std::optional<std::string> PasswordOption(const ParsedOptions& options, const char* command);

}  // namespace setuvane::pack
