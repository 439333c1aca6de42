#include "tools/build/manifest.h"

#include <algorithm>
#include <optional>

#include "system/system_components.h"
#include "tools/build/script_names.h"

namespace setuvane::pack {
namespace {

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsSetupHeading(std::string_view inside) { return SameName(inside, "setup"); }

// "setup supaxdo": the component folder's name, else nothing.
std::optional<std::string> ComponentHeading(std::string_view inside) {
  if (inside.size() <= 6 || !SameName(inside.substr(0, 5), "setup") || (inside[5] != ' ' && inside[5] != '\t')) {
    return std::nullopt;
  }
  return std::string(Trim(inside.substr(6)));
}

}  // namespace

std::vector<ManifestSource> ParseManifest(const std::string& file, std::string_view text, Problems& problems) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a byte order mark some editors write
  std::vector<ManifestSource> sources;
  std::optional<ManifestSource> section;  // the heading in force: its kind, destination and line
  int number = 0;
  for (size_t start = 0; start <= text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = Trim(text.substr(start, end - start));
    start = end + 1;
    ++number;
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']') {
        problems.Error(file, number, "a heading ends with ']'");
      } else {
        const std::string_view inside = Trim(line.substr(1, line.size() - 2));
        if (inside.empty()) {
          problems.Error(file, number, "empty destination: setup files go under [setup]");
        } else if (const std::optional<std::string> component = ComponentHeading(inside)) {
          if (!IsComponentFolder(*component)) {
            problems.Error(file, number, "'" + *component + "' is no component folder (supdcom, supaxdo, supajet, "
                                                            "supagnt, suphelp, supfont)");
          }
          section = ManifestSource{0, "", true, *component, "", number};
        } else {
          section = ManifestSource{0, "", IsSetupHeading(inside), "", IsSetupHeading(inside) ? "" : std::string(inside),
                                   number};
        }
      }
    } else if (!section) {
      problems.Error(file, number, "a file before any heading: start with [setup] or [DESTINATION]");
    } else {
      std::string pattern(line);
      std::replace(pattern.begin(), pattern.end(), '\\', '/');
      sources.push_back({number, pattern, section->setup, section->component, section->destination,
                         section->destinationLine});
    }
  }
  return sources;
}

}  // namespace setuvane::pack
