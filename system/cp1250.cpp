#include "system/cp1250.h"

#include <array>
#include <cstdint>

#include "system/utf8.h"

namespace setuvane {
namespace {

// Unicode code points of the bytes 0x80 to 0xFF; 0 marks the five unassigned bytes.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

int ByteFor(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  for (int i = 0; i < 128; ++i) {
    if (kHighHalf[i] != 0 && kHighHalf[i] == cp) return 0x80 + i;
  }
  return -1;
}

char16_t UnitFor(unsigned char byte) {
  if (byte < 0x80) return byte;
  char16_t unit = kHighHalf[byte - 0x80];
  return unit ? unit : u'\uFFFD';
}

// Decodes one UTF-8 sequence at text[i] and advances i past it; -1 when malformed
// (a bad lead or continuation byte, or a sequence cut off by the end of the text).
long DecodeUtf8(std::string_view text, size_t& i) {
  auto lead = static_cast<unsigned char>(text[i]);
  int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
  if (extra < 0 || text.size() - i <= static_cast<size_t>(extra)) return -1;
  long cp = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    auto cont = static_cast<unsigned char>(text[i + k]);
    if ((cont & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (cont & 0x3F);
  }
  i += extra + 1;
  return cp;
}

}  // namespace

std::optional<std::string> Utf8ToCp1250(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    long cp = DecodeUtf8(utf8, i);
    if (cp < 0) return std::nullopt;
    int byte = ByteFor(static_cast<char32_t>(cp));
    if (byte < 0) return std::nullopt;
    out.push_back(static_cast<char>(byte));
  }
  return out;
}

std::string Cp1250(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    long cp = DecodeUtf8(utf8, i);
    if (cp < 0) {
      ++i;
      out.push_back('?');
      continue;
    }
    int byte = ByteFor(static_cast<char32_t>(cp));
    out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
  }
  return out;
}

std::string Cp1250ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (unsigned char byte : text) {
    char16_t u = UnitFor(byte);
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (u >> 6)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (u >> 12)));
      out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
  }
  return out;
}

std::u16string Cp1250ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (unsigned char byte : text) out.push_back(UnitFor(byte));
  return out;
}

std::string Utf16ToCp1250(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t unit : text) {
    int byte = ByteFor(unit);
    out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
  }
  return out;
}

char Cp1250Upper(char c) {
  const auto b = static_cast<unsigned char>(c);
  if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) return static_cast<char>(b - 0x20);
  switch (b) {
    case 0x9A: case 0x9C: case 0x9D: case 0x9E: case 0x9F: return static_cast<char>(b - 0x10);
    case 0xB3: return '\xA3';
    case 0xB9: return '\xA5';
    case 0xBA: return '\xAA';
    case 0xBE: return '\xBC';
    case 0xBF: return '\xAF';
    default: return c;
  }
}

char32_t UpperCp1250Letter(char32_t c) {
  const int byte = ByteFor(c);
  return byte < 0 ? c : UnitFor(static_cast<unsigned char>(Cp1250Upper(static_cast<char>(byte))));
}

std::string UpperCp1250Letters(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) out += Utf8Of(UpperCp1250Letter(NextCodePoint(utf8, at)));
  return out;
}

}  // namespace setuvane
