// Whether a removal would pass through a junction, a symbolic link or a mount
// point: a folder on the way to a file or folder of the record, or the item itself.
// Through such a name a removal reaches what someone else put there, so the item
// is left alone.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/uninstallation/uninstall_files.h"
#include "system/uninstall_items.h"

namespace setuvane {

// The outermost link among the folders of `path` (below its drive or share) and
// `path` itself; nullopt when there is none.
std::optional<std::string> LinkOnTheWay(UninstallFiles& files, const std::string& path);

// Whether the item at `path` may still go through `link` (LinkOnTheWay): a link
// outside `programFolder` (a desktop or Start menu moved to another drive, a new
// Wine prefix's desktop), not the item itself, leading to what is still exactly
// what the installation wrote (`asWritten`, asked only then). A link inside the
// program folder may have been planted there by a user who can write in it.
bool MayGoThroughLink(const std::string& link, const std::string& path, const std::string& programFolder,
                      const std::function<bool()>& asWritten);

// Whether the shortcut at `path` holds the bytes its "shortcutsum" line `sum`
// recorded just after it was written.
bool ShortcutAsWritten(UninstallFiles& files, const std::string& path, const UninstallItem& sum);

}  // namespace setuvane
