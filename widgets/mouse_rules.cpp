#include "widgets/mouse_rules.h"

#include "system/cp1250.h"

namespace setuvane {

bool PlainButtonContains(int x, int y, int width, int height) {
  return x >= 0 && x < width && y >= 0 && y <= height;
}

bool RadioButtonContains(int x, int y, int width, int height) {
  return x >= 0 && x <= width && y >= 0 && y <= height;
}

std::optional<char> CaptionAccelerator(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    return Cp1250Upper(caption[i + 1]);
  }
  return std::nullopt;
}

bool IsCaptionAccelerator(std::string_view caption, char typed) {
  const auto accel = CaptionAccelerator(caption);
  return accel && *accel == Cp1250Upper(typed);
}

}  // namespace setuvane
