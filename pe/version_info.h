// A version resource (VS_VERSIONINFO, as the Win32 documentation of the version
// information structures lays it out): the fixed numbers, one string table and the
// translation it is in. This is what Windows shows in a file's properties and,
// through the file description, in the elevation prompt.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace setuvane {

struct VersionInfo {
  std::array<uint16_t, 4> fileVersion{};
  std::array<uint16_t, 4> productVersion{};
  uint16_t language = 0x0415;  // Polish
  uint16_t codePage = 1200;    // the strings are UTF-16
  // Key and value, in this order; values are never empty.
  std::vector<std::pair<std::u16string, std::u16string>> strings;
};

// The resource's bytes.
std::vector<uint8_t> WriteVersionInfo(const VersionInfo& info);

// The numbers that a version text begins with, up to four ("2.1 beta" gives 2.1.0.0,
// each part at most 65535); zeros when it begins with none.
std::array<uint16_t, 4> VersionNumbers(const std::string& text);

}  // namespace setuvane
