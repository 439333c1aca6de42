#include "widgets/mouse_rules.h"

namespace setuvane {
namespace {

// Upper case of a Windows-1250 letter; other bytes unchanged.
unsigned char UpperCp1250(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: case 0x9C: case 0x9D: case 0x9E: case 0x9F:  // š ś ť ž ź
      return static_cast<unsigned char>(c - 0x10);
    case 0xB3: return 0xA3;  // ł
    case 0xB9: return 0xA5;  // ą
    case 0xBA: return 0xAA;  // ş
    case 0xBE: return 0xBC;  // ľ
    case 0xBF: return 0xAF;  // ż
    default: return c;
  }
}

}  // namespace

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
    return static_cast<char>(UpperCp1250(static_cast<unsigned char>(caption[i + 1])));
  }
  return std::nullopt;
}

bool IsCaptionAccelerator(std::string_view caption, char typed) {
  const auto accel = CaptionAccelerator(caption);
  return accel && *accel == static_cast<char>(UpperCp1250(static_cast<unsigned char>(typed)));
}

}  // namespace setuvane
