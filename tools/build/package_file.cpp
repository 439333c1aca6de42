#include "tools/build/package_file.h"

namespace setuvane::pack {

std::string JoinDestination(const std::string& destination, const std::string& name) {
  if (destination.empty() || destination.back() == '\\' || destination.back() == '>') return destination + name;
  return destination + "\\" + name;
}

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromText(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace setuvane::pack
