// The manifest of a package: which files go into it and where the installer puts
// them. A small line format, UTF-8 text:
//
//   # a comment; blank lines are skipped
//   [setup]                  files the installer unpacks into the temporary folder
//   install.inf
//   [<programfolder>bin]     a destination text: where the files below it install
//   build/app.exe
//   docs/*.txt               '*' and '?' match within one path part
//   data                     a folder with everything below it
//
// Source paths are relative to the manifest's folder (or absolute), with "/" or "\"
// between parts. Leading and trailing blanks of a line do not count.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/build/problems.h"

namespace setuvane::pack {

struct ManifestSource {
  int line;
  std::string pattern;      // UTF-8, "/" between parts
  bool setup;               // under [setup]
  std::string destination;  // UTF-8, as written between the brackets; empty for setup files
  int destinationLine;      // of the heading
};

// The sources in manifest order. `file` names the manifest in problems.
std::vector<ManifestSource> ParseManifest(const std::string& file, std::string_view text, Problems& problems);

}  // namespace setuvane::pack
