#include "widgets/text_lines.h"

#include <algorithm>

namespace setuvane {

std::string WithCrLfBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

namespace {

std::string_view WithoutTrailingBlanks(std::string_view line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
  return line;
}

}  // namespace

std::string LinesToFit(const std::vector<std::string>& lines, const std::function<bool(std::string_view)>& fits) {
  std::string out;
  for (std::size_t start = 0; start < lines.size();) {
    std::size_t end = start;
    while (end < lines.size() && !lines[end].empty()) ++end;
    const bool keep = std::all_of(lines.begin() + static_cast<std::ptrdiff_t>(start),
                                  lines.begin() + static_cast<std::ptrdiff_t>(end),
                                  [&](const std::string& line) { return fits(WithoutTrailingBlanks(line)); });
    for (std::size_t i = start; i < end; ++i) {
      if (i > 0) out += keep || i == start ? "\r\n" : " ";
      out += keep ? std::string_view(lines[i]) : WithoutTrailingBlanks(lines[i]);
    }
    if (end < lines.size()) {  // the empty line that ends the paragraph
      if (end > 0) out += "\r\n";
      ++end;
    }
    start = end;
  }
  return out;
}

}  // namespace setuvane
