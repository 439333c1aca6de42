// Checks of shortcut.inf, the shortcut script: blocks the installer would stop on
// or write without a target, and lines it would silently pass over.
#pragma once

#include <string>
#include <string_view>

#include "tools/build/problems.h"

namespace setuvane::pack {

// Errors: a "}" before any "{" and a shortcut path without a folder (the
// installer stops on either), a shortcut without a target (no "-lnk" so far),
// unknown folder macros. Warnings: a "{" before the "}" of the block before (that
// shortcut is never written), a block never closed, a second "}" (the shortcut is
// written again), property lines of an unknown key.
void CheckShortcutScript(std::string_view text, const std::string& file, Problems& problems);

}  // namespace setuvane::pack
