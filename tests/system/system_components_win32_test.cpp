// The system components against real processes (under Wine): recorder programs of
// ours in the component folders of a medium whose path has blanks, and a decoy
// where the medium's unquoted path would find a program of its own.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/shell_folders.h"
#include "system/system_actions.h"
#include "system/system_components.h"
#include "system/win32_machine.h"
#include "tests/system/scratch_folder_win32.h"

namespace setuvane {
namespace {

using ::testing::ElementsAre;

// Real Windows with the version of the user's choosing.
class MachineWithVersion : public Win32Machine {
 public:
  explicit MachineWithVersion(VersionRecord version) : version_(version) {}
  std::optional<VersionRecord> Version() override { return version_; }

 private:
  VersionRecord version_;
};

class SystemComponentsOnWindows : public ::testing::Test {
 protected:
  SystemComponentsOnWindows() {
    std::filesystem::create_directories(medium);
    SetEnvironmentVariableA("SETUVANE_COMPONENT_LOG", log.c_str());
    Place(scratch.path() + "My.exe");  // the decoy
  }
  ~SystemComponentsOnWindows() override { SetEnvironmentVariableA("SETUVANE_COMPONENT_LOG", nullptr); }

  void Place(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(CopyFileA((GetLaunchFolder() + "system_component_recorder.exe").c_str(), path.c_str(), FALSE)) << path;
  }

  // What ran, as "program|command line" with the medium's path shortened to "<medium>".
  std::vector<std::string> Ran() {
    std::ifstream in(log);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      for (size_t at; (at = line.find(medium)) != std::string::npos;) line.replace(at, medium.size(), "<medium>");
      lines.push_back(line);
    }
    return lines;
  }

  void Run() {
    EXPECT_TRUE(InstallSystemComponents(
        medium, [this](const std::string& text) { statuses.push_back(text); }, [] {}));
  }

  testing::ScratchFolder scratch{"setuvane-components"};
  const std::string medium = scratch.path() + "My Setup\\";
  const std::string log = scratch.path() + "ran.log";
  std::vector<std::string> statuses;
};

TEST_F(SystemComponentsOnWindows, DecoyWouldRunForAnUnquotedPath) {
  Place(medium + "supaxdo\\setup.exe");
  RunAndWait(medium + "supaxdo\\setup.exe /QT", SW_HIDE);
  ASSERT_THAT(Ran(), ElementsAre(scratch.path() + "My.exe|" + "<medium>supaxdo\\setup.exe /QT"))
      << "without the decoy running here the next tests prove nothing";
}

TEST_F(SystemComponentsOnWindows, RunsThePresentComponentsInOrderOnVersion40) {
  MachineWithVersion nt4({4, 0, 1381, VER_PLATFORM_WIN32_NT});
  ScopedMachine scoped(nt4);
  for (const char* program : {"supdcom\\setup.exe", "supdcom\\install.exe", "supaxdo\\setup.exe",
                              "supagnt\\merlin.exe", "supfont\\setup.exe"}) {
    Place(medium + program);
  }
  std::filesystem::create_directories(medium + "suphelp\\setup.exe");  // a folder, not a program
  Run();
  EXPECT_THAT(Ran(), ElementsAre("<medium>supdcom\\install.exe|\"<medium>supdcom\\install.exe\" /q",
                                 "<medium>supaxdo\\setup.exe|\"<medium>supaxdo\\setup.exe\" /QT",
                                 "<medium>supagnt\\merlin.exe|\"<medium>supagnt\\merlin.exe\" /Q:A",
                                 "<medium>supfont\\setup.exe|\"<medium>supfont\\setup.exe\" /Q:A"));
  EXPECT_THAT(statuses, ElementsAre("Instalowanie uaktualnień środowiska...", "Instalowanie systemu bazodanowego...",
                                    "Instalowanie czcionek systemowych..."));
}

TEST_F(SystemComponentsOnWindows, MissingInstallProgramAndOtherVersionsSkipQuietly) {
  Place(medium + "supdcom\\setup.exe");  // probed, but install.exe is what would run
  Place(medium + "supajet\\setup.exe");
  {
    MachineWithVersion nt4({4, 0, 1381, VER_PLATFORM_WIN32_NT});
    ScopedMachine scoped(nt4);
    Run();
  }
  EXPECT_THAT(statuses, ElementsAre("Instalowanie uaktualnień środowiska...", "Instalowanie systemu bazodanowego..."));
  EXPECT_THAT(Ran(), ElementsAre("<medium>supajet\\setup.exe|\"<medium>supajet\\setup.exe\" /Q"));

  Place(medium + "supdcom\\install.exe");
  statuses.clear();
  Run();  // this system's own version, which is not 4.0
  EXPECT_THAT(statuses, ElementsAre("Instalowanie systemu bazodanowego..."));
  EXPECT_EQ(Ran().size(), 2u);
}

}  // namespace
}  // namespace setuvane
