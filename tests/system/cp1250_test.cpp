#include "system/cp1250.h"

#include <gtest/gtest.h>

namespace setuvane {
namespace {

TEST(Cp1250, PolishLettersRoundTrip) {
  const std::string utf8 = "Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ";
  auto bytes = Utf8ToCp1250(utf8);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_EQ(bytes->size(), 27u);
  EXPECT_EQ(static_cast<unsigned char>((*bytes)[2]), 0xBF);  // ż
  EXPECT_EQ(static_cast<unsigned char>((*bytes)[3]), 0xF3);  // ó
  EXPECT_EQ(Cp1250ToUtf8(*bytes), utf8);
  EXPECT_EQ(Utf16ToCp1250(Cp1250ToUtf16(*bytes)), *bytes);
}

TEST(Cp1250, RejectsWhatHasNoWindows1250Form) {
  EXPECT_FALSE(Utf8ToCp1250("日本").has_value());
  EXPECT_FALSE(Utf8ToCp1250("\xC5").has_value());       // cut-off sequence
  EXPECT_FALSE(Utf8ToCp1250("\x80" "abc").has_value());    // stray continuation byte
  EXPECT_EQ(Cp1250("a日b"), "a?b");
  EXPECT_EQ(Cp1250ToUtf8("\x81"), "\xEF\xBF\xBD");      // unassigned byte
}

TEST(Cp1250, UpperCaseOfLettersOnly) {
  std::string small = *Utf8ToCp1250("azżółćęśąźńšťľş");
  for (char& c : small) c = Cp1250Upper(c);
  EXPECT_EQ(small, *Utf8ToCp1250("AZŻÓŁĆĘŚĄŹŃŠŤĽŞ"));
  EXPECT_EQ(Cp1250Upper('\xF7'), '\xF7');  // ÷
  EXPECT_EQ(Cp1250Upper('\xFF'), '\xFF');  // ˙
  EXPECT_EQ(Cp1250Upper('\xDF'), '\xDF');  // ß
  EXPECT_EQ(Cp1250Upper('1'), '1');
  // The same rule on the program's UTF-8 text: other scripts stay as they are.
  EXPECT_EQ(UpperCp1250Letters("zażółć ÷ ß ж 日"), "ZAŻÓŁĆ ÷ ß ж 日");
  EXPECT_EQ(UpperCp1250Letter(U'ł'), U'Ł');
}

}  // namespace
}  // namespace setuvane
