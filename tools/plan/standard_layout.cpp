#include "tools/plan/standard_layout.h"

#include <charconv>

#include "tools/build/script_names.h"

namespace setuvane::pack {
namespace {

constexpr char kProfile[] = "C:\\WINDOWS\\Profiles\\User\\";

constexpr std::uint32_t kWin32Windows = 1;  // VER_PLATFORM_WIN32_WINDOWS: 95, 98, Me

std::string WithoutBlanks(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    if (c != ' ') kept += c;
  }
  return kept;
}

}  // namespace

StandardLayout::StandardLayout()
    : folders_{
          {"Windows", "C:\\WINDOWS"},
          {"System", "C:\\WINDOWS\\SYSTEM"},
          {"Temp", "C:\\WINDOWS\\TEMP"},
          {"Source", "D:\\"},
          {"Desktop", std::string(kProfile) + "Desktop"},
          {"Favorites", std::string(kProfile) + "Favorites"},
          {"Start Menu", std::string(kProfile) + "Start Menu"},
          {"Recent", std::string(kProfile) + "Recent"},
          {"SendTo", std::string(kProfile) + "SendTo"},
          {"AppData", std::string(kProfile) + "Application Data"},
      },
      version_{4, 10, 2222, kWin32Windows} {}

std::string StandardLayout::Folder(std::string_view name) const {
  for (const LayoutFolder& folder : folders_) {
    if (SameName(WithoutBlanks(folder.name), WithoutBlanks(name))) return folder.path;
  }
  return {};
}

bool StandardLayout::SetFolder(std::string_view name, std::string path) {
  for (LayoutFolder& folder : folders_) {
    if (!SameName(WithoutBlanks(folder.name), WithoutBlanks(name))) continue;
    folder.path = std::move(path);
    return true;
  }
  return false;
}

bool StandardLayout::SetVersion(std::string_view text) {
  std::uint32_t parts[3] = {};
  const char* at = text.data();
  const char* end = text.data() + text.size();
  for (int i = 0; i < 3; ++i) {
    const auto [next, error] = std::from_chars(at, end, parts[i]);
    if (error != std::errc() || next == at) return false;
    at = next;
    if (i < 2 && (at == end || *at++ != '.')) return false;
  }
  if (at != end) return false;
  // The platform only decides how Windows is restarted, which a plan never does.
  version_ = {parts[0], parts[1], parts[2], version_.platformId};
  return true;
}

}  // namespace setuvane::pack
