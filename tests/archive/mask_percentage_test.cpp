// Entry selection by mask and the progress percentage, as tables of cases.
#include <gtest/gtest.h>

#include "archive/mask_match.h"
#include "archive/percentage.h"

namespace setuvane::archive {
namespace {

struct MaskCase {
  const char* name;
  const char* mask;
  bool matches;
};

TEST(MatchesMaskTest, Table) {
  const MaskCase cases[] = {
      {"readme.txt", "readme.txt", true},
      {"doc/readme.txt", "readme.txt", true},  // no folder in the mask: any folder
      {"doc/readme.txt", "doc/readme.txt", true},
      {"readme.txt", "doc/readme.txt", false},
      {"doc/readme.txt", "doc\\README.TXT", true},  // separators and case
      {"x/doc/readme.txt", "doc/readme.txt", false},  // folder matches as a whole
      {"Makefile", "*.*", true},                     // *.* also without a dot
      {"a/b/c", "*", true},
      {"data.bin", "*.txt", false},
      {"data.txt", "d?ta.*", true},
      {"data.txt", "d?ta", false},
      {"abcabd", "*abd", true},  // needs backtracking
      {"doc/readme.txt", "C:\\doc\\readme.txt", true},  // drive dropped
      {"doc/readme.txt", "\\\\server\\share\\doc\\readme.txt", true},
      {"doc/readme.txt", "d*/r*.txt", true},
      {"doc/", "doc/", true},   // empty name parts match only empty masks
      {"doc/", "doc/x", false},
      {"readme.txt", "", false},
      {"\xB3\xF3\x64\xBC.txt", "\xB3\xF3\x64\xBC.TXT", true},  // only ASCII case folds
      {"\xB3.txt", "\xA3.txt", false},
  };
  for (const MaskCase& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " / " << c.mask;
}

TEST(PercentageTest, Table) {
  EXPECT_EQ(Percentage(0, 0), 0);
  EXPECT_EQ(Percentage(5, 0), 0);
  EXPECT_EQ(Percentage(5, -1), 0);
  EXPECT_EQ(Percentage(1, 3), 33);
  EXPECT_EQ(Percentage(2, 3), 66);
  EXPECT_EQ(Percentage(3, 3), 100);
  EXPECT_EQ(Percentage(4, 3), 100);
  EXPECT_EQ(Percentage(16384000, 16384000), 100);
  // Above 16,384,000 both are scaled down by 256 (rounded) first; without that,
  // done x 100 would overflow 32 bits near 2 GiB.
  EXPECT_EQ(Percentage(100000000, 200000000), 50);
  EXPECT_EQ(Percentage(2147483000, 2147483647), 99);
  EXPECT_EQ(Percentage(127, 16384001), 0);
}

}  // namespace
}  // namespace setuvane::archive
