// The checks a package passes before anything is written, each problem reported at
// the file and line it comes from: the setup files the installer needs, the setup
// texts (see setup_text.h and the checks of install.inf, registry.inf and
// shortcut.inf beside it), the destination texts, and the names under which
// entries are stored and installed.
#pragma once

#include <string>
#include <vector>

#include "tools/build/package_file.h"
#include "tools/build/problems.h"

namespace setuvane::pack {

// Reads the setup texts into `files` (their `content`, converted from UTF-8 when
// `fromUtf8`) and checks the whole package. `manifest` names the manifest in
// problems of destinations and names.
void CheckPackage(std::vector<PackageFile>& files, const std::string& manifest, bool fromUtf8, Problems& problems);

}  // namespace setuvane::pack
