#include "widgets/mouse_rules.h"

#include "system/cp1250.h"
#include "system/utf8.h"

namespace setuvane {

bool PlainButtonContains(int x, int y, int width, int height) {
  return x >= 0 && x < width && y >= 0 && y <= height;
}

bool RadioButtonContains(int x, int y, int width, int height) {
  return x >= 0 && x <= width && y >= 0 && y <= height;
}

std::optional<char32_t> CaptionAccelerator(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    std::size_t at = i + 1;
    return UpperCp1250Letter(NextCodePoint(caption, at));
  }
  return std::nullopt;
}

bool IsCaptionAccelerator(std::string_view caption, char32_t typed) {
  const auto accel = CaptionAccelerator(caption);
  return accel && *accel == UpperCp1250Letter(typed);
}

}  // namespace setuvane
