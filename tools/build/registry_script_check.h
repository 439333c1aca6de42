// Checks of registry.inf, the registry script. The installer reports a value it
// cannot write only while installing, and skips a line of an unknown type without a
// word; these checks find both before the package is written.
#pragma once

#include <string>
#include <string_view>

#include "tools/build/problems.h"

namespace setuvane::pack {

// Errors: value lines of an unknown type, "int" values that are no integer, values
// before any key line, unknown folder macros in values. Warnings: "bln" values
// other than the true and false words (they write 0), key lines without a "\"
// (the whole line becomes the key's name).
void CheckRegistryScript(std::string_view text, const std::string& file, Problems& problems);

}  // namespace setuvane::pack
