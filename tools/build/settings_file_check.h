// Checks of install.inf, the settings file. The installer takes a setting from every
// line that holds its key in capitals anywhere; everything else is silently skipped.
// So a key written in lower case or misspelt leaves its setting at the default,
// which is what these checks catch.
#pragma once

#include <string>
#include <string_view>

#include "tools/build/problems.h"

namespace setuvane::pack {

// Warns of lines that look like a key but match none (another letter case, up to
// two letters wrong), of values that begin with a blank (kept by the installer),
// and of a missing PRODUCT_VERSION or PRODUCT_ID (upgrades, detection), and reports
// unknown folder macros in the program folder.
void CheckSettingsFile(std::string_view text, const std::string& file, Problems& problems);

}  // namespace setuvane::pack
