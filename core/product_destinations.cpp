#include "core/product_destinations.h"

#include "system/folder_macros.h"
#include "system/text_helpers.h"

namespace setuvane {

std::string ProgramFolderFromText(const std::string& text) { return AddBackslash(TrimControl(text)); }

std::string ProductFolderOf(const std::string& destinationText, const std::string& programFolder) {
  const std::string destination = TrimControl(destinationText);
  if (destination.empty()) return {};
  return TrimControl(SubstituteProgramFolder(ExpandFolderMacros(destination), programFolder));
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
