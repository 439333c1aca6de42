// The resource section of a Windows program (Microsoft's "PE Format", section
// ".rsrc"): the three levels of directories (type, name, language) read into a flat
// list of resources, and a list written out again as a complete section. A tool
// that changes one resource reads them all, changes its own and writes them all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setuvane {

// A type or a name: a number or a text.
struct ResourceId {
  uint16_t number = 0;
  std::u16string text;  // used when not empty
  bool operator==(const ResourceId&) const = default;
};

struct Resource {
  ResourceId type;
  ResourceId name;
  uint16_t language = 0;
  uint32_t codePage = 0;
  std::vector<uint8_t> data;
};

inline constexpr uint16_t kRtRcData = 10;
inline constexpr uint16_t kRtVersion = 16;
inline constexpr uint16_t kRtManifest = 24;  // the application manifest

// The resources of a section whose bytes `section` start at the image address
// `sectionRva`. Throws std::runtime_error on a malformed tree or data outside it.
std::vector<Resource> ReadResources(const std::vector<uint8_t>& section, uint32_t sectionRva);

// The section that holds `resources`, to be placed at `sectionRva`: directories
// sorted as Windows expects (named entries first, then numbers, each ascending),
// then the names, the data entries and the data, each piece of data 8-aligned.
std::vector<uint8_t> WriteResources(std::vector<Resource> resources, uint32_t sectionRva);

}  // namespace setuvane
