#include "archive/target_path.h"

#include <algorithm>

#include "archive/archive.h"
#include "archive/exceptions.h"

namespace setuvane::archive {
namespace {

std::string WithBackslashes(std::string name) {
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

bool HasParentPart(const std::string& name) {
  size_t start = 0;
  for (;;) {
    const size_t end = name.find('\\', start);
    if (name.compare(start, end == std::string::npos ? std::string::npos : end - start, "..") == 0) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

}  // namespace

bool IsFolderName(const std::string& storedName) {
  return !storedName.empty() && (storedName.back() == '/' || storedName.back() == '\\');
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string TargetPath(const std::string& baseDirectory, const std::string& storedName, bool restorePath) {
  const std::string name = WithBackslashes(storedName);
  const size_t slash = name.find_last_of('\\');
  const std::string fileName = slash == std::string::npos ? name : name.substr(slash + 1);
  if (fileName == "." || fileName == "..") throw EAbZipUnsafePath();
  if (restorePath) {
    const bool absolute = !name.empty() && name[0] == '\\';
    const bool drive = name.size() >= 2 && name[1] == ':';
    if (absolute || drive || HasParentPart(name)) throw EAbZipUnsafePath();
  }
  const std::string prefix = baseDirectory.empty() ? std::string() : baseDirectory + "\\";
  return prefix + (restorePath ? name : fileName);
}

void MakeFolders(FileSystem& fileSystem, const std::string& folder) {
  if (folder.empty() || DirectoryExists(fileSystem, folder)) return;
  size_t from = 0;
  if (folder.rfind("\\\\", 0) == 0) {  // \\server\share is never made
    from = folder.find('\\', 2);
    from = from == std::string::npos ? folder.size() : folder.find('\\', from + 1);
    if (from == std::string::npos) from = folder.size();
  }
  for (size_t cut = folder.find('\\', from == 0 ? 1 : from + 1);; cut = folder.find('\\', cut + 1)) {
    const std::string prefix = folder.substr(0, cut);
    const bool drive = prefix.size() == 2 && prefix[1] == ':';
    if (!drive && !DirectoryExists(fileSystem, prefix)) fileSystem.MakeFolder(prefix);
    if (cut == std::string::npos) return;
  }
}

}  // namespace setuvane::archive
