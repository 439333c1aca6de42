#include "widgets/text_lines.h"

#include <gtest/gtest.h>

namespace setuvane {
namespace {

TEST(MemoLineBreaks, EveryKindOfBreakBecomesCrLf) {
  EXPECT_EQ(WithCrLfBreaks("a\r\nb"), "a\r\nb");
  EXPECT_EQ(WithCrLfBreaks("a\nb\rc"), "a\r\nb\r\nc");
  EXPECT_EQ(WithCrLfBreaks("\n\n"), "\r\n\r\n");
  EXPECT_EQ(WithCrLfBreaks("a\r\r\nb"), "a\r\n\r\nb");
  EXPECT_EQ(WithCrLfBreaks(""), "");
}

TEST(MemoLineBreaks, OnlyParagraphsWithALineTooWideAreJoinedForWrapping) {
  // "Too wide" here: longer than ten characters.
  const auto fits = [](std::string_view line) { return line.size() <= 10; };
  const std::vector<std::string> lines = {"", "short one ", "fits", "", "", "first line ", "much too long", "end", ""};
  EXPECT_EQ(LinesToFit(lines, fits), "\r\nshort one \r\nfits\r\n\r\n\r\nfirst line much too long end\r\n");
  EXPECT_EQ(LinesToFit({"exactly 10", "x"}, fits), "exactly 10\r\nx");  // trailing blanks do not count
  EXPECT_EQ(LinesToFit({"exactly 10   "}, fits), "exactly 10   ");
  EXPECT_EQ(LinesToFit({}, fits), "");
}

}  // namespace
}  // namespace setuvane
