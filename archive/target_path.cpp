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

namespace {

// A drive ("C:") or a UNC share (\\server\share) is never made.
bool IsRoot(const std::string& folder) {
  if (folder.size() == 2 && folder[1] == ':') return true;
  if (folder.rfind("\\\\", 0) != 0) return false;
  const size_t server = folder.find('\\', 2);
  return server == std::string::npos || folder.find('\\', server + 1) == std::string::npos;
}

}  // namespace

void MakeFolders(FileSystem& fileSystem, const std::string& folder) {
  // From the folder up to the first one that exists (usually its parent), then down.
  if (folder.empty() || IsRoot(folder) || DirectoryExists(fileSystem, folder)) return;
  MakeFolders(fileSystem, FolderOf(folder));
  fileSystem.MakeFolder(folder);
}

}  // namespace setuvane::archive
