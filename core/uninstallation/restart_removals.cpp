#include "core/uninstallation/restart_removals.h"

#include "system/text_compare.h"
#include "system/text_helpers.h"
#include "system/utf8.h"

namespace setuvane {
namespace {

// The bucket of a path: its ASCII letters in lower case, everything else left out;
// the names in one bucket are then compared as the system compares them.
std::string KeyOf(std::string_view path) {
  std::string key;
  for (const char c : path)
    if (static_cast<unsigned char>(c) < 0x80) key += c;
  return AsciiLower(key);
}

// The lines of an INI text, each with its line end.
std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const size_t length = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return lines;
}

bool IsSectionHeading(std::string_view line) { return TrimControl(line).substr(0, 1) == "["; }

}  // namespace

PathsIgnoringCase::PathsIgnoringCase(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) byKey_.emplace(KeyOf(path), path);
}

bool PathsIgnoringCase::Holds(std::string_view path) const {
  const auto [first, last] = byKey_.equal_range(KeyOf(path));
  for (auto at = first; at != last; ++at)
    if (SameTextIgnoringCase(at->second, path)) return true;
  return false;
}

std::string PendingRenamesWithout(std::string_view data, const std::function<bool(const std::string&)>& ours,
                                  std::vector<std::string>& taken, bool renames) {
  // The data as UTF-16 units, least significant byte first.
  const size_t units = data.size() / 2;
  auto unit = [&](size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(data[2 * i]) |
                                 static_cast<unsigned char>(data[2 * i + 1]) << 8);
  };
  // The text that starts at unit `at`, which then stands after its NUL; false when
  // the data end before the NUL.
  auto readText = [&](size_t& at, std::u16string& text) {
    text.clear();
    while (at < units && unit(at) != u'\0') text += unit(at++);
    if (at == units) return false;
    ++at;
    return true;
  };
  std::string kept;
  size_t rest = 0;  // where what stays as it is begins
  for (size_t at = 0;;) {
    const size_t pair = at;
    std::u16string source, target;
    // An empty source ends the pairs; a pair cut short is left alone, as is
    // everything after it.
    if (!readText(at, source) || source.empty() || !readText(at, target)) {
      rest = 2 * pair;
      break;
    }
    const auto pathOf = [](const std::u16string& text) {
      std::string path = Utf16ToUtf8(text);
      if (path.compare(0, 1, "!") == 0) path.erase(0, 1);  // the mark of MOVEFILE_REPLACE_EXISTING
      if (path.compare(0, 4, "\\??\\") == 0) path.erase(0, 4);
      return path;
    };
    std::string path = pathOf(source);
    if (target.empty() ? ours(path) : renames && (ours(path) || ours(path = pathOf(target)))) {
      taken.push_back(std::move(path));
      continue;
    }
    kept.append(data.substr(2 * pair, 2 * (at - pair)));
  }
  return kept.append(data.substr(rest));
}

std::string WininitWithRemoval(std::string_view wininit, std::string_view shortPath) {
  return WininitWithRename(wininit, "NUL", shortPath);
}

std::string WininitWithRename(std::string_view wininit, std::string_view shortTarget, std::string_view shortSource) {
  const std::string line = std::string(shortTarget) + "=" + std::string(shortSource) + "\r\n";
  std::string text(wininit);
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  // The section's heading, found at the start of a line in any letter case.
  size_t heading = std::string::npos;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    const std::string lineText = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (AsciiLower(TrimControl(lineText)) == "[rename]") {
      heading = end == std::string::npos ? text.size() : end + 1;
      break;
    }
    if (end == std::string::npos) break;
    at = end + 1;
  }
  if (heading == std::string::npos) return text + "[rename]\r\n" + line;
  return text.insert(heading, line);
}

std::string WininitWithout(std::string_view wininit, const std::function<bool(const std::string&)>& ours,
                           std::vector<std::string>& taken, bool renames) {
  std::string kept;
  bool inRename = false;
  for (const std::string_view line : LinesOf(wininit)) {
    if (IsSectionHeading(line)) inRename = AsciiLower(TrimControl(line)) == "[rename]";
    const std::string text = TrimControl(line);
    const size_t equals = text.find('=');
    const bool removal = AsciiLower(text.substr(0, 4)) == "nul=";
    if (inRename && equals != std::string::npos && (renames || removal)) {
      const std::string path = TrimControl(text.substr(equals + 1));
      const std::string target = TrimControl(text.substr(0, equals));
      if (ours(path) || (!removal && ours(target))) {
        taken.push_back(ours(path) ? path : target);
        continue;
      }
    }
    kept.append(line);
  }
  return kept;
}

}  // namespace setuvane
