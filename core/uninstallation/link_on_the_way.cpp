#include "core/uninstallation/link_on_the_way.h"

#include <string_view>

#include "system/path_identity.h"
#include "system/sha256.h"

namespace setuvane {
namespace {

constexpr size_t kNone = std::string_view::npos;

// Where the first name below the root begins: after "C:\" or "\\server\share\"
// (also behind "\\?\" and "\\?\UNC\"); kNone when the path names a root only or
// is no full path.
size_t FirstNameAt(std::string_view path) {
  auto afterShare = [&](size_t server) {
    const size_t share = path.find('\\', server);
    const size_t end = share == kNone ? kNone : path.find('\\', share + 1);
    return end == kNone ? kNone : end + 1;
  };
  size_t at = 0;
  if (path.substr(0, 4) == "\\\\?\\") {
    at = 4;
    if (path.substr(at, 4) == "UNC\\") return afterShare(at + 4);
  } else if (path.substr(0, 2) == "\\\\") {
    return afterShare(2);
  }
  if (path.size() > at + 3 && path[at + 1] == ':' && path[at + 2] == '\\') return at + 3;
  return kNone;
}

}  // namespace

std::optional<std::string> LinkOnTheWay(UninstallFiles& files, const std::string& path) {
  std::string_view whole(path);
  while (!whole.empty() && whole.back() == '\\') whole.remove_suffix(1);
  const size_t first = FirstNameAt(whole);
  if (first == kNone || first >= whole.size()) return std::nullopt;
  // Each folder from the outermost, then the item itself.
  for (size_t end = whole.find('\\', first);; end = whole.find('\\', end + 1)) {
    const std::string part(whole.substr(0, end));
    if (part.back() != '\\' && files.IsLink(part)) return part;
    if (end == kNone) return std::nullopt;
  }
}

bool MayGoThroughLink(const std::string& link, const std::string& path, const std::string& programFolder,
                      const std::function<bool()>& asWritten) {
  const bool inProgramFolder = SamePath(link, programFolder) || IsBelowFolder(link, programFolder);
  return !inProgramFolder && !SamePath(link, path) && asWritten();
}

bool ShortcutAsWritten(UninstallFiles& files, const std::string& path, const UninstallItem& sum) {
  const std::optional<std::string> data = files.ReadWhole(path);
  return data && data->size() == sum.size && Sha256Hex(*data) == sum.digest;
}

}  // namespace setuvane
