#include "system/path_identity.h"

#include <optional>
#include <vector>

#include "system/machine.h"
#include "system/text_compare.h"

namespace setuvane {
namespace {

// The root that ".." never climbs above: "C:\", "\\server\share\" or nothing.
size_t RootLength(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.size() >= 3 && path[2] == '\\' ? 3 : 2;
  if (path.compare(0, 2, "\\\\") != 0) return 0;
  size_t at = path.find_first_not_of('\\', 2);
  for (int part = 0; part < 2 && at != std::string::npos; ++part) {
    const size_t end = path.find('\\', at);
    if (end == std::string::npos) return path.size();
    at = part == 0 ? path.find_first_not_of('\\', end) : end + 1;
  }
  return at == std::string::npos ? path.size() : at;
}

std::string Joined(const std::string& root, const std::vector<std::string>& parts, size_t count) {
  std::string path = root;
  for (size_t i = 0; i < count; ++i) {
    if (!path.empty() && path.back() != '\\') path += '\\';
    path += parts[i];
  }
  return path;
}

// The root and the names of a path, separators and "." and ".." resolved.
struct PathParts {
  std::string root;
  std::vector<std::string> names;
};

PathParts PartsOf(const std::string& original) {
  std::string path = original;
  for (char& c : path)
    if (c == '/') c = '\\';
  const size_t rootLength = RootLength(path);
  PathParts parts{path.substr(0, rootLength), {}};
  if (parts.root.size() > 2 && parts.root.compare(0, 2, "\\\\") == 0) {  // a share's root with single separators inside
    std::string single = "\\\\";
    for (size_t i = 2; i < parts.root.size(); ++i)
      if (parts.root[i] != '\\' || single.back() != '\\') single += parts.root[i];
    parts.root = single;
  }
  for (size_t at = rootLength; at <= path.size();) {
    size_t end = path.find('\\', at);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(at, end - at);
    if (part == "..") {
      if (!parts.names.empty()) parts.names.pop_back();
    } else if (part != ".") {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
      if (!part.empty()) parts.names.push_back(std::move(part));
    }
    at = end + 1;
  }
  return parts;
}

}  // namespace

std::string FullLongPath(const std::string& original) {
  const PathParts parts = PartsOf(original);
  // The longest part that exists is asked for its long form; the rest is kept.
  for (size_t count = parts.names.size(); count > 0; --count) {
    if (std::optional<std::string> resolved = CurrentMachine().LongPathName(Joined(parts.root, parts.names, count))) {
      std::vector<std::string> rest(parts.names.begin() + static_cast<std::ptrdiff_t>(count), parts.names.end());
      std::string full = Joined(*resolved, rest, rest.size());
      while (full.size() > RootLength(full) && full.back() == '\\') full.pop_back();
      return full;
    }
  }
  return Joined(parts.root, parts.names, parts.names.size());
}

std::string LexicalPath(const std::string& path) {
  const PathParts parts = PartsOf(path);
  return Joined(parts.root, parts.names, parts.names.size());
}

std::string NormalPath(const std::string& path) {
  return path.find('~') == std::string::npos ? LexicalPath(path) : FullLongPath(path);
}

bool NormalPathWithin(const std::string& path, const std::string& folder) {
  if (path.size() < folder.size() || !SameTextIgnoringCase(path.substr(0, folder.size()), folder)) return false;
  return path.size() == folder.size() || path[folder.size()] == '\\' || (!folder.empty() && folder.back() == '\\');
}

std::string PathRoot(const std::string& path) {
  std::string root = PartsOf(path).root;
  return root.empty() ? root : root.back() == '\\' ? root : root + "\\";
}

bool SamePath(const std::string& a, const std::string& b) { return SameTextIgnoringCase(FullLongPath(a), FullLongPath(b)); }

bool IsBelowFolder(const std::string& path, const std::string& folder) {
  const std::string full = FullLongPath(path);
  const std::string base = FullLongPath(folder);
  const std::string prefix = !base.empty() && base.back() == '\\' ? base : base + "\\";
  return full.size() > prefix.size() && SameTextIgnoringCase(full.substr(0, prefix.size()), prefix);
}

}  // namespace setuvane
