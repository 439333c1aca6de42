// Where the product's files go: the folder a package entry's destination text names
// on this machine, the path the entry is written to there, and the files that hold
// the user's own data. The installation and the package tool's plan share these.
#pragma once

#include <string>

namespace setuvane {

// The program folder as the folder page takes it from its text (and an unattended
// run from its folder switch): trimmed, with a final backslash.
std::string ProgramFolderFromText(const std::string& text);

// The folder a product entry installs into: its destination text trimmed, the
// folder macros expanded, then "<programfolder>" replaced by `programFolder`.
// Empty for a setup file (a destination text of blanks and control characters).
std::string ProductFolderOf(const std::string& destinationText, const std::string& programFolder);

// True for a folder named from the root of a drive (C:\...) or of a network share
// (\\server\...): anything else would be taken relative to the current
// folder, the medium's.
bool IsFullFolderPath(const std::string& folder);

// The file a product entry becomes: flat in its folder, under the file-name part
// of its stored name.
std::string ProductFilePath(const std::string& folder, const std::string& storedName);

// True for names whose last three characters are "inf" or "mdb" in any letter case:
// files that hold the user's settings or data, replaced only when the user agrees.
bool HoldsUserData(const std::string& name);

}  // namespace setuvane
