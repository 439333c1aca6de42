// Whether a removal would pass through a junction, a symbolic link or a mount
// point: a folder on the way to a file or folder of the record, or the item itself.
// Through such a name a removal reaches what someone else put there, so the item
// is left alone.
#pragma once

#include <optional>
#include <string>

#include "core/uninstallation/uninstall_files.h"

namespace setuvane {

// The outermost link among the folders of `path` (below its drive or share) and
// `path` itself; nullopt when there is none.
std::optional<std::string> LinkOnTheWay(UninstallFiles& files, const std::string& path);

}  // namespace setuvane
