#include "tools/build/script_names.h"

#include <algorithm>

namespace setuvane::pack {

bool SameName(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
  return upper;
}

bool IsScriptName(std::string_view storedName) {
  return SameName(storedName, kSettingsFile) || SameName(storedName, kRegistryScript) ||
         SameName(storedName, kShortcutScript);
}

}  // namespace setuvane::pack
