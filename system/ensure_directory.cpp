#include "system/folder_error.h"
#include "system/folder_macros.h"
#include "system/machine.h"

namespace setuvane {
namespace {

bool DirectoryExists(const std::string& folder) {
  std::optional<std::uint32_t> attributes = CurrentMachine().FileAttributes(folder);
  return attributes && (*attributes & kDirectoryAttribute);
}

// Everything up to and including the last "\" or ":".
std::string ParentPath(const std::string& folder) {
  size_t last = folder.find_last_of("\\:");
  return last == std::string::npos ? std::string() : folder.substr(0, last + 1);
}

// Makes sure of the parent first, then creates the folder itself.
bool CreateLevelByLevel(std::string folder) {
  if (folder.empty()) throw EFolderError("Unable to create directory");
  if (folder.back() == '\\') folder.pop_back();
  if (folder.size() < 3 || DirectoryExists(folder)) return true;
  std::string parent = ParentPath(folder);
  if (parent == folder) return true;
  return CreateLevelByLevel(parent) && CurrentMachine().MakeDirectory(folder);
}

}  // namespace

bool EnsureDirectory(std::string_view folder) {
  std::string path(folder);
  return DirectoryExists(path) || CreateLevelByLevel(path);
}

}  // namespace setuvane
