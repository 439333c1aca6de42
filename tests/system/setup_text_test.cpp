#include "system/setup_text.h"

#include <gtest/gtest.h>

#include "system/machine.h"
#include "tests/system/fake_machine.h"

namespace setuvane {
namespace {

using Lines = std::vector<std::string>;

TEST(SetupText, LinesEndAtCarriageReturnsOnly) {
  EXPECT_EQ(SplitSetupLines(""), Lines{});
  EXPECT_EQ(SplitSetupLines("A"), Lines{"A"});
  EXPECT_EQ(SplitSetupLines("A\r\nB\r\n"), (Lines{"A", "B"}));
  EXPECT_EQ(SplitSetupLines("A\rB"), (Lines{"A", "B"}));
  EXPECT_EQ(SplitSetupLines("\r\n\r\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitSetupLines("A\r\n\r\nB"), (Lines{"A", "", "B"}));
  // A lone line feed stays inside its line; only the one right after a CR goes.
  EXPECT_EQ(SplitSetupLines("A\nB\nC"), Lines{"A\nB\nC"});
  EXPECT_EQ(SplitSetupLines("A\r\n\nB"), (Lines{"A", "\nB"}));
  // Blanks are kept.
  EXPECT_EQ(SplitSetupLines("  A \r\n"), Lines{"  A "});
}

TEST(SetupText, CtrlZEndsTheFileEvenInMidLine) {
  EXPECT_EQ(SplitSetupLines("A\r\nB\x1a" "C\r\nD"), (Lines{"A", "B"}));
  EXPECT_EQ(SplitSetupLines("A\r\n\x1a"), Lines{"A"});
  EXPECT_EQ(SplitSetupLines("\x1a" "A"), Lines{});
}

TEST(SetupText, ReadsThroughTheMachineAndNamesTheFailure) {
  fakes::FakeMachine machine;
  machine.fileContents["C:\\TEMP\\install.inf"] = "X=1\r\nY=\xBF\xF3\xB3w";  // Windows-1250 in the file
  ScopedMachine scoped(machine);
  EXPECT_EQ(ReadSetupTextFile("C:\\TEMP\\install.inf"), (Lines{"X=1", "Y=żółw"}));
  try {
    ReadSetupTextFile("C:\\TEMP\\missing.inf");
    FAIL() << "no error for a missing file";
  } catch (const ESetupFileError& error) {
    EXPECT_STREQ(error.what(), "File not found");
    EXPECT_EQ(error.ErrorCode(), 2u);
  }
  EXPECT_EQ(FileErrorText(5), "File access denied");
  EXPECT_EQ(FileErrorText(1234), "I/O error 1234");
}

}  // namespace
}  // namespace setuvane
