// One file or folder spelled two ways: a short (8.3) name, "/" for "\", a doubled
// "\", "." and ".." parts, a final dot or blank (which Windows drops from a name),
// another letter case. Wherever two paths of a product are compared (the program
// folder of an earlier installation and of this one, InstallLocation, the record
// an uninstaller was given) they are compared in this one form.
#pragma once

#include <string>

namespace setuvane {

// The path with "\" only, each separator single, "." and ".." resolved, names
// without their final dots and blanks, and the part that exists in its long form
// (asked of the current machine); no final "\" but after a root ("C:\").
std::string FullLongPath(const std::string& path);

// Whether two paths name the same file or folder (letter case ignored as Windows does).
bool SamePath(const std::string& a, const std::string& b);

// Whether `path` lies below `folder` (not the folder itself), both in that one form.
bool IsBelowFolder(const std::string& path, const std::string& folder);

}  // namespace setuvane
