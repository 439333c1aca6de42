#include "tools/exe/application_manifest.h"

#include <algorithm>

namespace setuvane::pack {

// The manifest is XML in UTF-8; the element and its attribute are found by name,
// which is all a program's own manifest needs.
std::string RequestedExecutionLevel(const std::vector<Resource>& resources) {
  const auto manifest = std::find_if(resources.begin(), resources.end(),
                                     [](const Resource& r) { return r.type == ResourceId{kRtManifest, {}}; });
  if (manifest == resources.end()) return {};
  const std::string text(manifest->data.begin(), manifest->data.end());
  const size_t element = text.find("<requestedExecutionLevel");
  if (element == std::string::npos) return {};
  const size_t end = text.find('>', element);
  const size_t attribute = text.find("level=", element);
  if (attribute == std::string::npos || attribute > end || static_cast<unsigned char>(text[attribute - 1]) > ' ')
    return {};
  const size_t open = attribute + 6;
  if (open >= text.size() || (text[open] != '"' && text[open] != '\'')) return {};
  const size_t close = text.find(text[open], open + 1);
  return close == std::string::npos ? std::string() : text.substr(open + 1, close - open - 1);
}

}  // namespace setuvane::pack
