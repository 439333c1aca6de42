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

}  // namespace
}  // namespace setuvane
