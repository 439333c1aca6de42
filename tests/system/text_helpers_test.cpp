#include "system/text_helpers.h"

#include <gtest/gtest.h>

#include "system/text_compare.h"

namespace setuvane {
namespace {

TEST(TextHelpers, AddBackslashAppendsOnlyWhenMissing) {
  EXPECT_EQ(AddBackslash(""), "");
  EXPECT_EQ(AddBackslash("C:\\Temp"), "C:\\Temp\\");
  EXPECT_EQ(AddBackslash("C:\\Temp\\"), "C:\\Temp\\");
  EXPECT_EQ(AddBackslash("C:"), "C:\\");
}

TEST(TextHelpers, DropLeftAndRightPartClampTheirCount) {
  EXPECT_EQ(DropLeft("abcdef", 2), "cdef");
  EXPECT_EQ(DropLeft("abcdef", 0), "abcdef");
  EXPECT_EQ(DropLeft("abcdef", -3), "abcdef");
  EXPECT_EQ(DropLeft("abcdef", 6), "");
  EXPECT_EQ(DropLeft("abcdef", 99), "");

  EXPECT_EQ(RightPart("registry.inf", 3), "inf");
  EXPECT_EQ(RightPart("registry.inf", 0), "registry.inf");
  EXPECT_EQ(RightPart("registry.inf", -1), "registry.inf");
  EXPECT_EQ(RightPart("inf", 3), "inf");
  EXPECT_EQ(RightPart("inf", 10), "inf");
}

TEST(TextHelpers, ValueAfterSeparatorFallsBackToTheColon) {
  EXPECT_EQ(ValueAfterSeparator("A=B", '='), "B");
  EXPECT_EQ(ValueAfterSeparator("A=B=C", '='), "B=C");
  EXPECT_EQ(ValueAfterSeparator("A: B", '='), " B");
  EXPECT_EQ(ValueAfterSeparator("A=", '='), "");
  EXPECT_EQ(ValueAfterSeparator("AB", '='), "");
  EXPECT_EQ(ValueAfterSeparator("", '='), "");
  // The "=" wins even when a ":" comes first, as in a path value.
  EXPECT_EQ(ValueAfterSeparator("C:\\Dir=x", '='), "x");
}

TEST(TextHelpers, NameBeforeSeparator) {
  EXPECT_EQ(NameBeforeSeparator("A=B", '='), "A");
  EXPECT_EQ(NameBeforeSeparator("=B", '='), "");
  EXPECT_EQ(NameBeforeSeparator("A:B", '='), "");
}

TEST(TextHelpers, TrimControlDropsBlanksAndControlCharactersAtTheEnds) {
  EXPECT_EQ(TrimControl(" \t A b\r\n\x01"), "A b");
  EXPECT_EQ(TrimControl(" \x1f "), "");
  EXPECT_EQ(TrimControl(""), "");
  EXPECT_EQ(TrimControl("\xa5\xb9"), "\xa5\xb9");  // Windows-1250 letters are not control characters
}

TEST(TextHelpers, TextToBooleanKnowsTwoWordsInAnyCase) {
  for (const char* yes : {"TRUE", "true", "True", "Prawda", "PRAWDA", "pRAWDA"}) {
    EXPECT_TRUE(TextToBoolean(yes)) << yes;
  }
  for (const char* no : {"yes", "1", "", " TRUE", "TRUE ", "TRU", "PRAWDA!", "tak"}) {
    EXPECT_FALSE(TextToBoolean(no)) << no;
  }
}

TEST(TextHelpers, CaseFoldKnowsPolishLetters) {
  EXPECT_TRUE(SameTextIgnoringCase("ZAŻÓŁĆ GĘŚLĄ JAŹŃ", "zażółć gęślą jaźń"));
  EXPECT_FALSE(SameTextIgnoringCase("PRAWDĄ", "PRAWDA"));
  EXPECT_FALSE(SameTextIgnoringCase("TRUE", "TRUEX"));
  EXPECT_FALSE(TextToBoolean("prawdą"));
}

}  // namespace
}  // namespace setuvane
