#include "system/folder_macros.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/folder_error.h"
#include "system/shell_folders.h"
#include "tests/system/fake_machine.h"

namespace setuvane {
namespace {

using ::testing::ElementsAre;
using fakes::FakeMachine;

class FolderMacrosTest : public ::testing::Test {
 protected:
  FolderMacrosTest() {
    machine.SetShellFolder("Desktop", "C:\\WINDOWS\\Pulpit");
    machine.SetShellFolder("Favorites", "C:\\WINDOWS\\Ulubione");
    machine.SetShellFolder("Start Menu", "C:\\WINDOWS\\Menu Start");
    machine.SetShellFolder("Recent", "C:\\WINDOWS\\Recent");
    machine.SetShellFolder("SendTo", "C:\\WINDOWS\\SendTo");
    machine.SetShellFolder("AppData", "C:\\WINDOWS\\Dane aplikacji\\");
  }

  long Reads() const {
    return std::count_if(machine.calls.begin(), machine.calls.end(),
                         [](const std::string& call) { return call.rfind("FileAttributes", 0) != 0; });
  }

  FakeMachine machine;
  ScopedMachine scoped{machine};
};

TEST_F(FolderMacrosTest, EveryMacroOfTheTable) {
  const std::pair<const char*, const char*> table[] = {
      {"<desktopfolder>", "C:\\WINDOWS\\Pulpit\\"},
      {"<favoritesfolder>", "C:\\WINDOWS\\Ulubione\\"},
      {"<fontsfolder>", "C:\\WINDOWS\\Pulpit\\"},  // the desktop, not the fonts folder
      {"<menustartfolder>", "C:\\WINDOWS\\Menu Start\\"},
      {"<programsfolder>", "C:\\Program Files\\"},
      {"<recentsfolder>", "C:\\WINDOWS\\Recent\\"},
      {"<sendtofolder>", "C:\\WINDOWS\\SendTo\\"},
      {"<sourcefolder>", "E:\\INSTALL\\"},
      {"<systemfolder>", "C:\\WINDOWS\\SYSTEM\\"},
      {"<temporaryfolder>", "C:\\WINDOWS\\TEMP\\"},
      {"<windowsfolder>", "C:\\WINDOWS\\"},
      {"<windowsvolume>", "C:\\"},
      {"<launchfolder>", "C:\\WINDOWS\\Dane aplikacji\\Microsoft\\Internet Explorer\\Quick Launch\\"},
  };
  for (const auto& [macro, folder] : table) EXPECT_EQ(ExpandFolderMacros(macro), folder) << macro;
}

TEST_F(FolderMacrosTest, MacrosInAnyLetterCaseAndSeveralInOnePass) {
  EXPECT_EQ(ExpandFolderMacros("<DesktopFolder>Aplikacja.lnk"), "C:\\WINDOWS\\Pulpit\\Aplikacja.lnk");
  EXPECT_EQ(ExpandFolderMacros("<DESKTOPFOLDER>Aplikacja.lnk"), "C:\\WINDOWS\\Pulpit\\Aplikacja.lnk");
  machine.calls.clear();
  EXPECT_EQ(ExpandFolderMacros("<desktopfolder>a;<SystemFolder>b;<DESKTOPfolder>c"),
            "C:\\WINDOWS\\Pulpit\\a;C:\\WINDOWS\\SYSTEM\\b;C:\\WINDOWS\\Pulpit\\c");
  // Each folder is read once per pass, however often its macro occurs.
  EXPECT_EQ(std::count(machine.calls.begin(), machine.calls.end(), "ShellFolder Desktop"), 1);
}

TEST_F(FolderMacrosTest, OtherTokensStayAndNothingIsReadWithoutAMacro) {
  EXPECT_EQ(ExpandFolderMacros(""), "");
  EXPECT_EQ(ExpandFolderMacros("C:\\Aplikacja\\plik.txt"), "C:\\Aplikacja\\plik.txt");
  EXPECT_EQ(Reads(), 0);
  EXPECT_EQ(ExpandFolderMacros("<programfolder>bin"), "<programfolder>bin");
  EXPECT_EQ(ExpandFolderMacros("<ProgramFilesFolder>Aplikacja"), "<ProgramFilesFolder>Aplikacja");
  EXPECT_EQ(ExpandFolderMacros("a < b"), "a < b");
  EXPECT_EQ(ExpandFolderMacros("<desktopfolder"), "<desktopfolder");
  EXPECT_EQ(Reads(), 0);
  EXPECT_TRUE(IsFolderMacro("<LaunchFolder>"));
  EXPECT_FALSE(IsFolderMacro("<programfolder>"));
  EXPECT_FALSE(IsFolderMacro("<ProgramFilesFolder>"));
}

TEST_F(FolderMacrosTest, MissingShellFolderLeavesTheRestRelative) {
  machine.shellFolders.erase("Desktop");
  EXPECT_EQ(ExpandFolderMacros("<desktopfolder>Aplikacja.lnk"), "Aplikacja.lnk");
  EXPECT_EQ(GetShellFolder("Desktop"), "");
}

TEST_F(FolderMacrosTest, QuickLaunchFallsBackToTheWindowsFolder) {
  machine.shellFolders.erase("AppData");
  EXPECT_EQ(ExpandFolderMacros("<launchfolder>"), "C:\\WINDOWS\\Microsoft\\Internet Explorer\\Quick Launch\\");
  machine.shellFolders["AppData"] = {ShellFolderValue::Kind::kText, ""};
  EXPECT_EQ(GetAppDataFolder(), "C:\\WINDOWS\\");
}

TEST_F(FolderMacrosTest, WindowsVolumeIsCapitalisedWithItsBackslash) {
  machine.windowsDirectory = "d:\\winnt";
  EXPECT_EQ(ExpandFolderMacros("<windowsvolume>"), "D:\\");
  EXPECT_EQ(ExpandFolderMacros("<programsfolder>Aplikacja"), "D:\\Program Files\\Aplikacja");
  machine.windowsDirectory = std::nullopt;
  EXPECT_EQ(GetWindowsVolume(), "");
  EXPECT_EQ(GetWindowsFolder(), "");
}

TEST_F(FolderMacrosTest, ProgramFilesIsTheRegisteredFolderWhereThereIsOne) {
  // Under 64-bit Windows the 32-bit view holds the folder of 32-bit programs; a
  // folder on another drive or of another name is taken as registered.
  machine.programFilesDirectory = "C:\\Program Files (x86)";
  EXPECT_EQ(ExpandFolderMacros("<programsfolder>Firma\\"), "C:\\Program Files (x86)\\Firma\\");
  machine.programFilesDirectory = "E:\\Programy\\";
  EXPECT_EQ(ExpandFolderMacros("<programsfolder>"), "E:\\Programy\\");
  machine.programFilesDirectory = "";
  EXPECT_EQ(ExpandFolderMacros("<programsfolder>"), "C:\\Program Files\\");
}

TEST_F(FolderMacrosTest, FolderNamingAnotherMacroIsExpandedInTheNextPass) {
  machine.SetShellFolder("Favorites", "<windowsfolder>Ulubione");
  EXPECT_EQ(ExpandFolderMacros("<favoritesfolder>x"), "C:\\WINDOWS\\Ulubione\\x");
  // Later in the table than the macro it names: needs a second pass.
  machine.SetShellFolder("Desktop", "<launchfolder>Pulpit");
  EXPECT_EQ(ExpandFolderMacros("<desktopfolder>"),
            "C:\\WINDOWS\\Dane aplikacji\\Microsoft\\Internet Explorer\\Quick Launch\\Pulpit\\");
}

TEST_F(FolderMacrosTest, FolderNamingItsOwnMacroEnds) {
  machine.SetShellFolder("Desktop", "<desktopfolder>x");
  std::string once = ExpandFolderMacros("<desktopfolder>");
  EXPECT_NE(once.find("<desktopfolder>"), std::string::npos);
  EXPECT_LT(once.size(), 200u);

  // Doubling in every pass still stops at a bounded size.
  machine.SetShellFolder("Desktop", "<desktopfolder><desktopfolder><desktopfolder>");
  EXPECT_LE(ExpandFolderMacros("<desktopfolder>").size(), 200000u);
}

TEST_F(FolderMacrosTest, NonTextShellFolderIsAnError) {
  machine.shellFolders["Desktop"] = {ShellFolderValue::Kind::kNotText, {}};
  try {
    ExpandFolderMacros("<desktopfolder>a");
    FAIL() << "no error";
  } catch (const EFolderError& error) {
    EXPECT_STREQ(error.what(), "Invalid data type for 'Desktop'");
  }
}

TEST_F(FolderMacrosTest, LaunchFolderIsTheFolderOfTheProgram) {
  EXPECT_EQ(GetLaunchFolder(), "E:\\INSTALL\\");
  machine.modulePath = "E:SETUVANE.EXE";
  EXPECT_EQ(GetLaunchFolder(), "E:\\");
  machine.modulePath = std::nullopt;
  EXPECT_EQ(GetLaunchFolder(), "");
}

TEST_F(FolderMacrosTest, LongFoldersAreKeptWhole) {
  std::string longTemp = "C:\\" + std::string(300, 't');
  machine.tempPath = longTemp;
  EXPECT_EQ(GetTempFolder(), longTemp + "\\");
  EXPECT_EQ(ExpandFolderMacros("<temporaryfolder>a"), longTemp + "\\a");
}

TEST(SubstituteProgramFolder, ReplacesTheTokenAndCollapsesDoubledBackslashes) {
  EXPECT_EQ(SubstituteProgramFolder("<programfolder>\\bin", "C:\\Aplikacja\\"), "C:\\Aplikacja\\bin");
  EXPECT_EQ(SubstituteProgramFolder("<PROGRAMFOLDER>\\bin", "C:\\Aplikacja\\"), "C:\\Aplikacja\\bin");
  EXPECT_EQ(SubstituteProgramFolder("<ProgramFolder>a;<programfolder>b", "C:\\P\\"), "C:\\P\\a;C:\\P\\b");
  // Collapsing runs over the whole text, pair by pair without overlap.
  EXPECT_EQ(SubstituteProgramFolder("x\\\\\\y <programfolder>", "C:\\P\\"), "x\\\\y C:\\P\\");
  EXPECT_EQ(SubstituteProgramFolder("x\\\\\\\\y<programfolder>", "C:\\P\\"), "x\\\\yC:\\P\\");
}

TEST(SubstituteProgramFolder, TextWithoutTheTokenIsUnchanged) {
  EXPECT_EQ(SubstituteProgramFolder("C:\\\\dir\\\\file", "C:\\P\\"), "C:\\\\dir\\\\file");
  EXPECT_EQ(SubstituteProgramFolder("<programfolder", "C:\\P\\"), "<programfolder");
  EXPECT_EQ(SubstituteProgramFolder("", "C:\\P\\"), "");
}

class EnsureDirectoryTest : public FolderMacrosTest {};

TEST_F(EnsureDirectoryTest, CreatesTheMissingLevelsFromTheTop) {
  machine.directories = {"C:\\A"};
  EXPECT_TRUE(EnsureDirectory("C:\\A\\B\\C"));
  EXPECT_THAT(machine.created, ElementsAre("C:\\A\\B", "C:\\A\\B\\C"));

  machine.created.clear();
  machine.directories = {"C:\\A"};
  EXPECT_TRUE(EnsureDirectory("C:\\A\\B\\C\\"));
  EXPECT_THAT(machine.created, ElementsAre("C:\\A\\B", "C:\\A\\B\\C"));
}

TEST_F(EnsureDirectoryTest, ExistingAndShortFoldersCountAsDone) {
  machine.directories = {"C:\\A"};
  EXPECT_TRUE(EnsureDirectory("C:\\A"));
  EXPECT_TRUE(EnsureDirectory("C:"));
  EXPECT_TRUE(EnsureDirectory("C:\\"));
  EXPECT_TRUE(EnsureDirectory("C:\\\\"));
  EXPECT_TRUE(machine.created.empty());
}

TEST_F(EnsureDirectoryTest, AFailedLevelStopsTheWalk) {
  machine.refusedDirectories = {"C:\\A\\B"};
  EXPECT_FALSE(EnsureDirectory("C:\\A\\B\\C"));
  EXPECT_THAT(machine.created, ElementsAre("C:\\A"));
}

TEST_F(EnsureDirectoryTest, EmptyFolderIsAnError) {
  try {
    EnsureDirectory("");
    FAIL() << "no error";
  } catch (const EFolderError& error) {
    EXPECT_STREQ(error.what(), "Unable to create directory");
  }
}

}  // namespace
}  // namespace setuvane
