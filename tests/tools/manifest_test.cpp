#include "tools/build/manifest.h"

#include <gtest/gtest.h>

#include "tests/tools/problem_text.h"

namespace setuvane::pack {
namespace {

TEST(ManifestTest, HeadingsCommentsAndSources) {
  Problems problems;
  const std::vector<ManifestSource> sources = ParseManifest("m.txt",
                                                           "\xEF\xBB\xBF# setup files\n"
                                                           "[Setup]\r\n"
                                                           "install.inf\n"
                                                           "\n"
                                                           "  [ <programfolder>Dane ]  \n"
                                                           "   data\\img\\*.png  \n"
                                                           "    # indented comment\n"
                                                           "other folder/with blanks",
                                                           problems);
  EXPECT_EQ(ProblemTexts(problems), std::vector<std::string>{});
  ASSERT_EQ(sources.size(), 3u);
  EXPECT_EQ(sources[0].line, 3);
  EXPECT_EQ(sources[0].pattern, "install.inf");
  EXPECT_TRUE(sources[0].setup);
  EXPECT_EQ(sources[0].destination, "");
  EXPECT_EQ(sources[1].line, 6);
  EXPECT_EQ(sources[1].pattern, "data/img/*.png");
  EXPECT_FALSE(sources[1].setup);
  EXPECT_EQ(sources[1].destination, "<programfolder>Dane");
  EXPECT_EQ(sources[1].destinationLine, 5);
  EXPECT_EQ(sources[2].pattern, "other folder/with blanks");
  EXPECT_EQ(sources[2].line, 8);
}

TEST(ManifestTest, EachErrorNamesItsLineAndReadingGoesOn) {
  Problems problems;
  const std::vector<ManifestSource> sources =
      ParseManifest("m.txt", "early.txt\n[]\n[<desktopfolder>\n[setup]\nlate.txt\n", problems);
  EXPECT_EQ(ProblemTexts(problems),
            (std::vector<std::string>{
                "m.txt:1: error: a file before any heading: start with [setup] or [DESTINATION]",
                "m.txt:2: error: empty destination: setup files go under [setup]",
                "m.txt:3: error: a heading ends with ']'",
            }));
  ASSERT_EQ(sources.size(), 1u);
  EXPECT_EQ(sources[0].pattern, "late.txt");
}

}  // namespace
}  // namespace setuvane::pack
