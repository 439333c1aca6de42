// The manifest of a package: which files go into it and where the installer puts
// them. A small line format, UTF-8 text:
//
//   # the setup files, which the installer unpacks into its setup folder
//   [setup]
//   install.inf
//   # a component installer that a single file carries (-o setup.exe), unpacked
//   # with its files into the setup folder's supaxdo and run from there
//   [setup supaxdo]
//   components/supaxdo
//   # a destination text: where the files below the heading install
//   [<programfolder>bin]
//   build/app.exe
//   docs/*.txt
//   data
//
// A line starting with "#" is a comment (a "#" later in a line belongs to the
// name); blank lines are skipped. A source is a file, a folder (everything below
// it) or a pattern with "*" and "?" within one path part; paths are relative to the
// manifest's folder (or absolute), with "/" or "\" between parts. Leading and
// trailing blanks of a line do not count.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/build/problems.h"

namespace setuvane::pack {

struct ManifestSource {
  int line;
  std::string pattern;      // UTF-8, "/" between parts
  bool setup;               // under [setup] or [setup COMPONENT]
  std::string component;    // the component folder of [setup COMPONENT]; empty otherwise
  std::string destination;  // UTF-8, as written between the brackets; empty for setup files
  int destinationLine;      // of the heading
};

// The sources in manifest order. `file` names the manifest in problems.
std::vector<ManifestSource> ParseManifest(const std::string& file, std::string_view text, Problems& problems);

}  // namespace setuvane::pack
