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

// FullLongPath without asking the system: the text alone decides.
std::string LexicalPath(const std::string& path);

// FullLongPath, asking the system only when a name may be a short one (a short name
// always holds a "~"): cheap enough for every file of an installation.
std::string NormalPath(const std::string& path);

// Whether the normal path `path` (NormalPath) lies at or below the normal folder
// `folder`, letter case ignored; nothing is asked of the system.
bool NormalPathWithin(const std::string& path, const std::string& folder);

// The root of a full path, "C:\" or "\\server\share\"; empty for a path without one.
std::string PathRoot(const std::string& path);

// Whether two paths name the same file or folder (letter case ignored as Windows does).
bool SamePath(const std::string& a, const std::string& b);

// Whether `path` lies below `folder` (not the folder itself), both in that one form.
bool IsBelowFolder(const std::string& path, const std::string& folder);

}  // namespace setuvane
