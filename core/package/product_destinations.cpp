#include "core/package/product_destinations.h"

#include "system/folder_macros.h"
#include "system/text_helpers.h"

namespace setuvane {

std::string ProgramFolderFromText(const std::string& text) { return AddBackslash(TrimControl(text)); }

std::string ProductFolderOf(const std::string& destinationText, const std::string& programFolder) {
  const std::string destination = TrimControl(destinationText);
  if (destination.empty()) return {};
  return TrimControl(SubstituteProgramFolder(ExpandFolderMacros(destination), programFolder));
}

bool IsFullFolderPath(const std::string& folder) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (folder.size() >= 3 && folder[1] == ':' && separator(folder[2])) {
    const char drive = folder[0];
    return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
  }
  return folder.size() > 2 && separator(folder[0]) && separator(folder[1]);
}

std::string ProductFilePath(const std::string& folder, const std::string& storedName) {
  return AddBackslash(folder) + FileNamePart(storedName);
}

bool HoldsUserData(const std::string& name) {
  std::string ending = RightPart(name, 3);
  for (char& c : ending) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ending == "inf" || ending == "mdb";
}

}  // namespace setuvane
