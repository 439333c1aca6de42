// Windows only: a file replaced where MoveFileEx is missing (Windows 95, 98 and Me
// export it as a stub that fails).
#pragma once

#include <string>

namespace setuvane::archive {

// Moves `from` over `to` with MoveFile alone: the file `to`, if there is one, is
// renamed aside first, `from` takes its name, and the old file is deleted. When
// `from` cannot take the name the old file is renamed back, so a failed replacement
// leaves `to` as it was. False on failure.
bool ReplaceByRenaming(const std::string& from, const std::string& to);

}  // namespace setuvane::archive
