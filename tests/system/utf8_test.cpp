#include "system/utf8.h"

#include <gtest/gtest.h>

namespace setuvane {
namespace {

TEST(Utf8, EveryScriptRoundTripsThroughUtf16) {
  for (const std::string text : {"", "C:\\Users\\Łukasz\\Temp", "Пользователь", "日本語", "a😀b"}) {
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text) << text;
  }
  EXPECT_EQ(Utf8ToUtf16("Ł😀"), (std::u16string{0x0141, 0xD83D, 0xDE00}));
}

// Windows names may hold a lone surrogate: it survives the trip as its own unit.
TEST(Utf8, LoneSurrogatesOfWindowsNamesAreKept) {
  const std::u16string names[] = {
      {u'a', char16_t(0xD800), u'b'}, {char16_t(0xDC00)}, {char16_t(0xDBFF), char16_t(0xD800)}};
  for (const std::u16string& name : names) EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(name)), name);
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xD800)}), "\xED\xA0\x80");
}

TEST(Utf8, MalformedBytesReadAsReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xC5"), (std::u16string{u'a', 0xFFFD}));                          // cut off
  EXPECT_EQ(Utf8ToUtf16("\x80z"), (std::u16string{0xFFFD, u'z'}));                          // stray continuation
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), (std::u16string{0xFFFD, 0xFFFD}));                     // overlong "/"
  EXPECT_EQ(Utf8ToUtf16("\xBF\xF3\xB3w"), (std::u16string{0xFFFD, 0xFFFD, 0xFFFD, u'w'}));  // Windows-1250 "żółw"
}

TEST(Utf8, CharactersAreCountedNotBytes) {
  EXPECT_EQ(CharacterCount("C:\\Łódź"), 7u);
  EXPECT_EQ(CharacterCount("日本"), 2u);
  EXPECT_EQ(CharacterCount(""), 0u);
}

}  // namespace
}  // namespace setuvane
