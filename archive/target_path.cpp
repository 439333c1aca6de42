#include "archive/target_path.h"

#include <algorithm>

#include "archive/archive.h"
#include "archive/exceptions.h"
#include "system/cp1250.h"

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

NameFault WindowsNameFault(std::string_view part) {
  for (const char c : part) {
    if (static_cast<unsigned char>(c) < ' ' || std::string_view("<>:\"|?*").find(c) != std::string_view::npos) {
      return NameFault::kCharacter;
    }
  }
  if (!part.empty() && (part.back() == '.' || part.back() == ' ')) return NameFault::kFinalDotOrBlank;
  // Windows takes the part before the first dot, without its final blanks, as the
  // device: "NUL", "nul.txt" and "Nul .tar.gz" all open the device NUL.
  std::string_view stem = part.substr(0, part.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  std::string upper(stem);
  for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return NameFault::kDeviceName;
  if (upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
      upper[3] >= '1' && upper[3] <= '9') {
    return NameFault::kDeviceName;
  }
  return NameFault::kNone;
}

namespace {

// The text of EAbZipBadName for `part`, whose bytes are Windows-1250 like the name.
std::string BadNameText(std::string_view part, NameFault fault) {
  const std::string quoted = "\"" + Cp1250ToUtf8(part) + '"';
  switch (fault) {
    case NameFault::kCharacter:
      return "Cannot extract file - " + quoted +
             " has a character that Windows does not allow in names (< > : \" | ? * or a control character)";
    case NameFault::kDeviceName:
      return "Cannot extract file - " + quoted +
             " is a device name on Windows (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9)";
    case NameFault::kFinalDotOrBlank:
      return "Cannot extract file - " + quoted + " ends in a dot or a blank, which Windows drops from names";
    case NameFault::kNone:
      break;
  }
  return AbMessageText(AbZipBadName);
}

}  // namespace

void CheckStoredName(const std::string& storedName, bool restorePath) {
  std::string name = WithBackslashes(storedName);
  const bool folderEntry = IsFolderName(name);
  if (folderEntry) {
    if (!restorePath) return;  // writes nothing
    name.pop_back();
  }
  const size_t slash = name.find_last_of('\\');
  const std::string fileName = slash == std::string::npos ? name : name.substr(slash + 1);
  if (fileName == "." || fileName == "..") throw EAbZipUnsafePath();
  if (restorePath) {
    const bool absolute = !name.empty() && name[0] == '\\';
    const bool drive = name.size() >= 2 && name[1] == ':';
    if (absolute || drive || HasParentPart(name)) throw EAbZipUnsafePath();
  }
  // Parts left empty by doubled separators are skipped: Windows ignores them.
  size_t start = restorePath ? 0 : (slash == std::string::npos ? 0 : slash + 1);
  for (;;) {
    const size_t end = name.find('\\', start);
    const std::string_view part =
        std::string_view(name).substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!part.empty() && part != ".") {
      const NameFault fault = WindowsNameFault(part);
      if (fault != NameFault::kNone) throw EAbZipBadName(BadNameText(part, fault));
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

std::string TargetPath(const std::string& baseDirectory, const std::string& storedName, bool restorePath) {
  const std::string name = WithBackslashes(Cp1250ToUtf8(storedName));
  const size_t slash = name.find_last_of('\\');
  const std::string fileName = slash == std::string::npos ? name : name.substr(slash + 1);
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

void MakeFolders(FileSystem& fileSystem, const std::string& folder, std::set<std::string>* made) {
  // From the folder up to the first one that exists (usually its parent), then down.
  if (folder.empty() || IsRoot(folder) || DirectoryExists(fileSystem, folder)) return;
  MakeFolders(fileSystem, FolderOf(folder), made);
  fileSystem.MakeFolder(folder);
  if (made) made->insert(folder);
}

}  // namespace setuvane::archive
