#include "system/shortcut_script.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/cp1250.h"
#include "system/folder_error.h"
#include "system/install_journal.h"
#include "system/setup_text.h"
#include "system/shell_folders.h"
#include "tests/system/fake_link_writer.h"
#include "tests/system/fake_machine.h"

namespace setuvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ShortcutFolder, IsTheFolderPartWithoutItsBackslashButARootKeepsIt) {
  EXPECT_EQ(ShortcutFolderOf("C:\\Menu\\Programy\\A.lnk"), "C:\\Menu\\Programy");
  EXPECT_EQ(ShortcutFolderOf("C:\\A.lnk"), "C:\\");
  EXPECT_EQ(ShortcutFolderOf("C:A.lnk"), "C:");
  EXPECT_EQ(ShortcutFolderOf("\\\\serwer\\udział\\A.lnk"), "\\\\serwer\\udział");
  EXPECT_EQ(ShortcutFolderOf("\\A.lnk"), "\\");
  EXPECT_EQ(ShortcutFolderOf("A.lnk"), "");
  EXPECT_EQ(ShortcutFolderOf(""), "");
}

class ShortcutScriptTest : public ::testing::Test {
 protected:
  ShortcutScriptTest() {
    machine.SetShellFolder("Start Menu", "C:\\WINDOWS\\Menu Start");
    machine.directories = {"C:", "C:\\WINDOWS", "C:\\WINDOWS\\Menu Start"};
    SetJournalSink([this](const std::string& line) { journal.push_back(line); });
  }
  ~ShortcutScriptTest() override { SetJournalSink({}); }

  void Run(std::initializer_list<std::string> lines) {
    std::string content;
    for (const std::string& line : lines) content += Cp1250(line) + "\r\n";
    machine.fileContents["C:\\WINDOWS\\TEMP\\shortcut.inf"] = content;
    EXPECT_TRUE(RunShortcutScript(linker, GetTempFolder(), "C:\\Aplikacja\\",
                                  [this](const Problem& problem) { problems.push_back(problem); }));
  }

  fakes::FakeMachine machine;
  fakes::FakeLinkWriter writer;
  ScopedMachine scopedMachine{machine};
  ScopedShellLinkWriter scopedWriter{writer};
  TShellLink linker;
  std::vector<Problem> problems;
  std::vector<std::string> journal;
};

TEST_F(ShortcutScriptTest, BlocksInheritWhatTheyDoNotSet) {
  Run({"{<menustartfolder>Programy\\Aplikacja\\Aplikacja.lnk", "-lnk=<programfolder>Aplikacja.exe",
       "-dsc=Aplikacja", "}",
       "{<MenuStartFolder>Programy\\Aplikacja\\Narzędzie.lnk", "-LNK:<programfolder>\\bin\\Narzędzie.exe",
       "-cmd:/opcja=1", "-icn=<programfolder>ikony.dll", "-xyz=1", " -dsc=pominięty", "# komentarz", "}",
       "}"});
  EXPECT_EQ(machine.created, (std::vector<std::string>{"C:\\WINDOWS\\Menu Start\\Programy",
                                                       "C:\\WINDOWS\\Menu Start\\Programy\\Aplikacja"}));
  ASSERT_EQ(writer.written.size(), 3u);
  const ShellLinkProperties& first = writer.written[0];
  EXPECT_EQ(first.linkFile, "C:\\WINDOWS\\Menu Start\\Programy\\Aplikacja\\Aplikacja.lnk");
  EXPECT_EQ(first.programFile, "C:\\Aplikacja\\Aplikacja.exe");
  EXPECT_EQ(first.description, "Aplikacja");
  EXPECT_EQ(first.workingFolder, "C:\\Aplikacja\\");  // derived from the target
  EXPECT_EQ(first.parameters, "");
  EXPECT_EQ(first.iconFile, "");
  EXPECT_EQ(first.iconIndex, 0);
  EXPECT_EQ(first.hotKey, 0);
  EXPECT_EQ(first.windowState, TWindowState::wsNormal);

  const ShellLinkProperties& second = writer.written[1];
  EXPECT_EQ(second.linkFile, "C:\\WINDOWS\\Menu Start\\Programy\\Aplikacja\\Narzędzie.lnk");
  EXPECT_EQ(second.programFile, "C:\\Aplikacja\\bin\\Narzędzie.exe");  // the colon form, "\\" collapsed
  EXPECT_EQ(second.description, "Aplikacja");        // kept from the first block
  EXPECT_EQ(second.workingFolder, "C:\\Aplikacja\\");  // the first block's derived folder, not bin\'s
  EXPECT_EQ(second.parameters, "1");                 // the first "=" wins over the colon
  EXPECT_EQ(second.iconFile, "C:\\Aplikacja\\ikony.dll");
  EXPECT_EQ(writer.written[2].linkFile, second.linkFile);  // a second "}" writes it again
  EXPECT_THAT(problems, IsEmpty());
  EXPECT_EQ(journal.at(0),
            "shortcut: C:\\WINDOWS\\Menu Start\\Programy\\Aplikacja\\Aplikacja.lnk -> "
            "C:\\Aplikacja\\Aplikacja.exe");
}

TEST_F(ShortcutScriptTest, ArgumentsUpToTheFirstEqualsSign) {
  Run({"{C:\\A.lnk", "-cmd=/opcja=1", "-lnk=C:\\A.exe", "}"});
  ASSERT_EQ(writer.written.size(), 1u);
  EXPECT_EQ(writer.written[0].parameters, "/opcja=1");
  EXPECT_EQ(writer.written[0].workingFolder, "C:\\");
}

TEST_F(ShortcutScriptTest, FolderAndWriteFailuresAreReportedAndTheScriptGoesOn) {
  machine.refusedDirectories = {"C:\\Zablokowany"};
  writer.refused = {"C:\\WINDOWS\\Odmowa.lnk"};
  const std::string longLink = "C:\\WINDOWS\\" + std::string(1100, 'd') + ".lnk";
  Run({"{C:\\Zablokowany\\A.lnk", "-lnk=C:\\A.exe", "}", "{C:\\WINDOWS\\Odmowa.lnk", "}", "{" + longLink, "}"});
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].title, "Problem instalacji");
  EXPECT_EQ(problems[0].message, "Utworzenie folderu odnośnika pliku jest niemożliwe.");
  EXPECT_EQ(problems[0].hint, "Podczas tworzenia folderu odnośnika C:\\Zablokowany wystąpił problem");
  EXPECT_EQ(problems[0].details, "Dostęp do folderu odnośnika został odwołany.");
  EXPECT_EQ(problems[1].title, "Problem instalacji");
  EXPECT_EQ(problems[1].message, "Utworzenie odnośnika pliku jest niemożliwe.");
  EXPECT_EQ(problems[1].hint, "Podczas tworzenia odnośnika C:\\WINDOWS\\Odmowa.lnk wystąpił problem");
  EXPECT_EQ(problems[1].details, "Dostęp do odnośnika pliku został odwołany.");
  ASSERT_EQ(writer.written.size(), 1u);
  EXPECT_EQ(writer.written[0].linkFile, longLink);  // taken whole, not cut at 1024
}

TEST_F(ShortcutScriptTest, ShortcutWithoutAFolderAndAMissingScriptReachTheCaller) {
  try {
    Run({"-lnk=C:\\A.exe", "}"});
    FAIL() << "no error";
  } catch (const EFolderError& error) {
    EXPECT_STREQ(error.what(), "Unable to create directory");
  }
  EXPECT_THAT(writer.written, IsEmpty());
  machine.fileContents.clear();
  EXPECT_THROW(RunShortcutScript(linker, GetTempFolder(), "C:\\Aplikacja\\", [](const Problem&) {}), ESetupFileError);
}

}  // namespace
}  // namespace setuvane
