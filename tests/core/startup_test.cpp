#include "core/program/startup.h"

#include <gtest/gtest.h>

#include "core/program/environment_check.h"
#include "core/program/install_log.h"
#include "core/run/installer_state.h"
#include "core/run/main_window_texts.h"
#include "tests/core/fake_environment.h"
#include "tests/core/recording_dialogs.h"
#include "tests/core/machine_with_files.h"

namespace setuvane {
namespace {

using fakes::Dialogs;
using fakes::FakeEnvironment;
using fakes::MachineWithFiles;

class EnvironmentCheck : public ::testing::Test {
 protected:
  void SetUp() override { Dialogs() = {}; }
};

TEST_F(EnvironmentCheck, FirstFailingCheckDecidesAndIsReportedWithItsTexts) {
  const MainWindowTexts& t = MainWindowText();
  struct Case {
    int cleanBoot, mouse, bits;
    const std::string* message;  // null: passes
    int asked;
  } cases[] = {
      {1, 0, 8, &t.safeModeMessage, 1},   // safe mode and no mouse: only safe mode is told
      {2, 1, 32, &t.safeModeMessage, 1},  // safe mode with network support
      {0, 0, 4, &t.noMouseMessage, 2},
      {0, 1, 8, &t.fewColoursMessage, 3},
      {0, 1, 1, &t.fewColoursMessage, 3},
      {0, 1, 15, nullptr, 3},
      {0, 1, 16, nullptr, 3},
      {0, 2, 24, nullptr, 3},
      {0, 1, 32, nullptr, 3},
  };
  for (const Case& c : cases) {
    Dialogs() = {};
    FakeEnvironment environment(c.cleanBoot, c.mouse, c.bits);
    EXPECT_EQ(CheckEnvironment(environment), c.message == nullptr)
        << c.cleanBoot << c.mouse << c.bits;
    EXPECT_EQ(environment.asked, c.asked);
    if (!c.message) {
      EXPECT_TRUE(Dialogs().problems.empty());
      continue;
    }
    ASSERT_EQ(Dialogs().problems.size(), 1u);
    const fakes::ProblemReport& report = Dialogs().problems[0];
    EXPECT_EQ(report.title, "Ustawienia systemu");
    EXPECT_EQ(report.message, *c.message);
    EXPECT_EQ(report.hint, "Wystąpił problem uniemożliwiający kontynuację.");
    EXPECT_EQ(report.details, "Uruchomienie instalatora zostało odwołane.");
  }
}

TEST(Startup, FixesTheFoldersAndTheFirstPage) {
  MachineWithFiles machine;
  machine.modulePath = "E:\\INSTALL\\SETUVANE.EXE";
  machine.tempPath = "C:\\TEMP";
  ScopedMachine scoped(machine);
  PageIndex = 4;
  InitialiseInstallerState();
  EXPECT_EQ(LaunchFolder, "E:\\INSTALL\\");
  EXPECT_EQ(SetupFolder, "C:\\TEMP\\");
  EXPECT_EQ(PageIndex, 1);
  EXPECT_EQ(CurrentPage, nullptr);
}

TEST(Startup, SoundPlaysFromTheLaunchFolderOnlyWhenThere) {
  MachineWithFiles machine;
  ScopedMachine scoped(machine);
  InitialiseInstallerState();
  machine.files = {SetupFolder + "install.wav"};  // the setup folder does not count
  EXPECT_FALSE(StartLoopingSound());
  EXPECT_TRUE(machine.sounds.empty());

  machine.files = {LaunchFolder + "install.wav"};
  EXPECT_TRUE(StartLoopingSound());
  StopLoopingSound();
  ASSERT_EQ(machine.sounds.size(), 2u);
  EXPECT_EQ(machine.sounds[0].first, "E:\\INSTALL\\install.wav");
  EXPECT_EQ(machine.sounds[0].second, 9u);  // asynchronous, endless loop
  EXPECT_EQ(machine.sounds[1].first, std::nullopt);
  EXPECT_EQ(machine.sounds[1].second, 9u);
}

TEST(Startup, LogoComesFromTheSetupFolderWhenThere) {
  MachineWithFiles machine;
  ScopedMachine scoped(machine);
  InitialiseInstallerState();
  EXPECT_EQ(PackageLogoPath(), std::nullopt);
  machine.directories.insert(SetupFolder + "install.bmp");  // a folder is not a picture
  EXPECT_EQ(PackageLogoPath(), std::nullopt);
  machine.files = {SetupFolder + "install.bmp"};
  EXPECT_EQ(PackageLogoPath(), "C:\\WINDOWS\\TEMP\\install.bmp");
}

// The uninstaller hands /LOG to its copy in the temporary folder: a relative path
// is the caller's, made absolute against the caller's folder first.
TEST(InstallLog, ARelativeLogPathIsMadeAbsoluteAgainstTheCallersFolder) {
  EXPECT_EQ(AbsoluteLogPath("usuwanie.log", "C:\\Dane"), "C:\\Dane\\usuwanie.log");
  EXPECT_EQ(AbsoluteLogPath("logi\\u.log", "C:\\Dane\\"), "C:\\Dane\\logi\\u.log");
  EXPECT_EQ(AbsoluteLogPath("\\logi\\u.log", "D:\\Dane"), "D:\\logi\\u.log");
  EXPECT_EQ(AbsoluteLogPath("c:u.log", "C:\\Dane"), "C:\\Dane\\u.log");
  for (const char* kept : {"E:\\u.log", "\\\\serwer\\udzial\\u.log", "E:u.log", "C:/u.log"})
    EXPECT_EQ(AbsoluteLogPath(kept, "C:\\Dane"), kept);
  EXPECT_EQ(AbsoluteLogPath("u.log", ""), "u.log");
}

}  // namespace
}  // namespace setuvane
