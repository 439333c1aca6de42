#include "archive/mask_match.h"

#include <algorithm>
#include <cctype>

namespace setuvane::archive {
namespace {

std::string Normalised(std::string text) {
  for (char& c : text) {
    if (c == '/') c = '\\';
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// Drops "X:\" or "\\server\share\" from the front of a mask.
std::string WithoutDriveOrShare(const std::string& mask) {
  if (mask.size() >= 3 && std::isalpha(static_cast<unsigned char>(mask[0])) && mask[1] == ':' &&
      mask[2] == '\\') {
    return mask.substr(3);
  }
  if (mask.rfind("\\\\", 0) == 0) {
    const size_t server = mask.find('\\', 2);
    const size_t share = server == std::string::npos ? server : mask.find('\\', server + 1);
    return share == std::string::npos ? std::string() : mask.substr(share + 1);
  }
  return mask;
}

// "*" and "?" wildcards; the classic greedy match that backtracks to the last star.
bool WildcardMatch(const std::string& name, const std::string& pattern) {
  size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool PartMatches(const std::string& name, const std::string& mask) {
  if (mask == "*" || mask == "*.*") return true;
  if (name.empty()) return mask.empty();
  return WildcardMatch(name, mask);
}

void Split(const std::string& path, std::string& folder, std::string& file) {
  const size_t slash = path.find_last_of('\\');
  folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
  file = slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool MatchesMask(const std::string& storedName, const std::string& mask) {
  const std::string cleanMask = WithoutDriveOrShare(Normalised(mask));
  std::string maskFolder, maskFile, nameFolder, nameFile;
  Split(cleanMask, maskFolder, maskFile);
  Split(Normalised(storedName), nameFolder, nameFile);
  const bool maskHasFolder = cleanMask.find('\\') != std::string::npos;
  if (maskHasFolder && !PartMatches(nameFolder, maskFolder)) return false;
  return PartMatches(nameFile, maskFile);
}

}  // namespace setuvane::archive
