#include "tools/build/folder_macro_check.h"

#include "system/folder_macros.h"
#include "tools/build/script_names.h"

namespace setuvane::pack {

std::vector<std::string> UnknownMacros(std::string_view text, bool programFolderKnown) {
  std::vector<std::string> unknown;
  for (size_t open = text.find('<'); open != std::string_view::npos; open = text.find('<', open + 1)) {
    const size_t close = text.find_first_of("<>", open + 1);
    if (close == std::string_view::npos || text[close] != '>') continue;
    const std::string_view token = text.substr(open, close - open + 1);
    if (IsFolderMacro(token) || (programFolderKnown && SameName(token, "<programfolder>"))) continue;
    unknown.emplace_back(token);
  }
  return unknown;
}

std::string QuotedList(const std::vector<std::string>& tokens) {
  std::string list;
  for (const std::string& token : tokens) list += (list.empty() ? "'" : ", '") + token + "'";
  return list;
}

}  // namespace setuvane::pack
