// The files a manifest names. Each source line is a file, a folder or a pattern with
// "*" and "?" in any part (matched as the installer matches masks: letters without
// regard to case, "*.*" for every name). A folder brings every file below it; the
// files of its subfolders get the line's destination text followed by the
// subfolder ("<programfolder>data" gives "<programfolder>data\img" for data/img),
// since the installer writes each entry flat into its destination. Subfolders are
// counted from the last part of the line before the first wildcard: for
// "plugins/*" the folder plugins/x goes to DESTINATION\x.
//
// Product files are stored under their path relative to the manifest's folder (or,
// outside it, relative to where their subfolders are counted from); setup files
// under their bare names, as the installer unpacks them. Files come in manifest
// order, the matches of one line sorted by path.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/build/manifest.h"
#include "tools/build/package_file.h"
#include "tools/build/problems.h"

namespace setuvane::pack {

// Finds the files of every source line below `folder` (the manifest's). A line that
// matches nothing, a name or destination without a Windows-1250 form and a file
// too large for the package are problems of `file` at that line.
std::vector<PackageFile> FindSourceFiles(const std::vector<ManifestSource>& sources,
                                         const std::filesystem::path& folder, const std::string& file,
                                         Problems& problems);

}  // namespace setuvane::pack
