#include "tools/console.h"

#include "system/cp1250.h"

namespace setuvane::pack {

std::optional<std::string> ArgumentToArchiveText(const std::string& argument) { return Utf8ToCp1250(argument); }

std::string ArchiveTextToConsole(const std::string& text) { return Cp1250ToUtf8(text); }

std::filesystem::path ArgumentToPath(const std::string& argument) {
  return std::filesystem::path(std::u8string(argument.begin(), argument.end()));
}

}  // namespace setuvane::pack
