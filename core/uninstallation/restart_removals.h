// The removals Windows makes when it starts next, as the system lists them, and
// taking paths out of those lists again: PendingFileRenameOperations on the NT
// family (REG_MULTI_SZ in UTF-16: pairs of a source and a target, "\??\" before a
// path, an empty target for a removal), the [rename] section of WININIT.INI on
// Windows 9x ("NUL=" and a short path in the OEM code page for a removal). What is
// not taken out stays byte for byte.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace setuvane {

// Paths (UTF-8) found again whatever their letter case, as Windows finds names.
class PathsIgnoringCase {
 public:
  explicit PathsIgnoringCase(const std::vector<std::string>& paths);
  bool Holds(std::string_view path) const;

 private:
  std::unordered_multimap<std::string, std::string> byKey_;
};

// PendingFileRenameOperations' data without the pairs that remove a path `ours`
// accepts (given in UTF-8 without its "\??\"), and with `renames` also those that
// move such a path elsewhere or another file onto it; `taken` receives those
// paths. Other pairs stay.
std::string PendingRenamesWithout(std::string_view data, const std::function<bool(const std::string&)>& ours,
                                  std::vector<std::string>& taken, bool renames = false);

// WININIT.INI with a line that removes `shortPath` at the next start of Windows 9x
// added to its [rename] section (the section is made when missing). The path must
// be the file's short (8.3) name in the OEM code page: WININIT reads it under DOS,
// before Windows starts.
std::string WininitWithRemoval(std::string_view wininit, std::string_view shortPath);
// The same with a line that moves `shortSource` over `shortTarget` (both short
// names in the OEM code page; the target must exist, for its short name).
std::string WininitWithRename(std::string_view wininit, std::string_view shortTarget, std::string_view shortSource);

// WININIT.INI without the "NUL=" lines of its [rename] section whose path `ours`
// accepts (the path as the line holds it), and with `renames` also the lines that
// move such a path elsewhere or another file onto it; `taken` receives those paths.
std::string WininitWithout(std::string_view wininit, const std::function<bool(const std::string&)>& ours,
                           std::vector<std::string>& taken, bool renames = false);

}  // namespace setuvane
