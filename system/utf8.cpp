#include "system/utf8.h"

namespace setuvane {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsLeadSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsTrailSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  // The bytes after the lead; -1 for a byte that starts no sequence (C0 and C1 only
  // start overlong forms, F5 and above values past U+10FFFF).
  int extra = -1;
  if (lead < 0x80) extra = 0;
  else if (lead >= 0xC2 && lead <= 0xDF) extra = 1;
  else if ((lead >> 4) == 0xE) extra = 2;
  else if (lead >= 0xF0 && lead <= 0xF4) extra = 3;
  if (extra < 0 || text.size() - at <= static_cast<std::size_t>(extra)) {
    ++at;
    return extra == 0 ? lead : kReplacement;
  }
  char32_t codePoint = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) {
      ++at;
      return kReplacement;
    }
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  // Overlong forms and values past U+10FFFF name no character (surrogates, which
  // only WTF-8 writes, are read back as the units they stand for).
  constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  if (codePoint < kLeast[extra] || codePoint > 0x10FFFF) {
    ++at;
    return kReplacement;
  }
  at += static_cast<std::size_t>(extra) + 1;
  return codePoint;
}

std::string Utf8Of(char32_t codePoint) {
  std::string out;
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t codePoint = NextCodePoint(utf8, at);
    if (codePoint < 0x10000) {
      out += static_cast<char16_t>(codePoint);
    } else {
      out += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t at = 0; at < utf16.size(); ++at) {
    char32_t unit = utf16[at];
    if (IsLeadSurrogate(unit) && at + 1 < utf16.size() && IsTrailSurrogate(utf16[at + 1])) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (utf16[++at] - 0xDC00);
    }
    out += Utf8Of(unit);  // a lone surrogate stays the unit it was
  }
  return out;
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < utf8.size(); ++count) NextCodePoint(utf8, at);
  return count;
}

}  // namespace setuvane
