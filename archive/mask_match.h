// Selection of entries by a file mask, as ExtractMatching uses it.
#pragma once

#include <string>

namespace setuvane::archive {

// True when `storedName` passes `mask`. Separators may be "/" or "\"; a drive or
// UNC prefix of the mask is ignored; letters compare without regard to ASCII case;
// "*" matches any run, "?" one character. A mask without a folder matches the file
// name in every folder; with one, the folder must match as a whole. A file mask of
// exactly "*" or "*.*" matches every name, also names without a dot.
bool MatchesMask(const std::string& storedName, const std::string& mask);

}  // namespace setuvane::archive
