#include "system/text_compare.h"

#include <algorithm>

namespace setuvane {
namespace {

// The lower-case form of a Windows-1250 byte: A-Z, the capitals with a small
// letter in 0x8A-0xBC (Š Ś Ť Ž Ź Ł Ą Ş Ż Ľ) and 0xC0-0xDE except the sign ×.
unsigned char FoldCp1250(unsigned char c) {
  switch (c) {
    case 0x8A: case 0x8C: case 0x8D: case 0x8E: case 0x8F: return c + 0x10;
    case 0xA3: return 0xB3;
    case 0xA5: return 0xB9;
    case 0xAA: return 0xBA;
    case 0xAF: return 0xBF;
    case 0xBC: return 0xBE;
    default: break;
  }
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  return c;
}

}  // namespace

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return FoldCp1250(static_cast<unsigned char>(x)) == FoldCp1250(static_cast<unsigned char>(y));
  });
}

}  // namespace setuvane
