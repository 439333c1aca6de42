#include "system/system_components.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/install_journal.h"
#include "tests/system/fake_machine.h"

namespace setuvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kMedium[] = "D:\\My Setup\\";

class SystemComponentsTest : public ::testing::Test {
 protected:
  // Runs the components and returns what happened on the install page, in order:
  // "status: <text>", "repaint" and "run: <command line>".
  std::vector<std::string> Run() {
    std::vector<std::string> events;
    size_t runs = 0;
    auto catchUpRuns = [&] {
      for (; runs < machine.commandLines.size(); ++runs) events.push_back("run: " + machine.commandLines[runs]);
    };
    EXPECT_TRUE(InstallSystemComponents(
        kMedium,
        [&](const std::string& text) {
          catchUpRuns();
          events.push_back("status: " + text);
        },
        [&] {
          catchUpRuns();
          events.push_back("repaint");
        }));
    catchUpRuns();
    return events;
  }

  void Provide(std::initializer_list<const char*> probes) {
    for (const char* probe : probes) machine.files.insert(std::string(kMedium) + probe);
  }

  fakes::FakeMachine machine;
  ScopedMachine scoped{machine};
};

TEST_F(SystemComponentsTest, EveryRowInOrderWithItsStatusTextAndQuotedProgram) {
  machine.version = VersionRecord{4, 0, 1381, 2};  // Windows NT 4.0
  Provide({"supdcom\\setup.exe", "supaxdo\\setup.exe", "supajet\\setup.exe", "supagnt\\agent.exe",
           "supagnt\\merlin.exe", "suphelp\\setup.exe", "supfont\\setup.exe"});
  EXPECT_THAT(Run(), ElementsAre("status: Instalowanie uaktualnień środowiska...", "repaint",
                                 "run: \"D:\\My Setup\\supdcom\\install.exe\" /q",
                                 "status: Instalowanie systemu bazodanowego...", "repaint",
                                 "run: \"D:\\My Setup\\supaxdo\\setup.exe\" /QT",
                                 "status: Instalowanie systemu bazodanowego...", "repaint",
                                 "run: \"D:\\My Setup\\supajet\\setup.exe\" /Q",
                                 "status: Instalowanie czarodzieja systemowego...", "repaint",
                                 "run: \"D:\\My Setup\\supagnt\\agent.exe\" /Q:A", "repaint",
                                 "run: \"D:\\My Setup\\supagnt\\merlin.exe\" /Q:A", "repaint",
                                 "status: Instalowanie systemu informacyjnego...", "repaint",
                                 "run: \"D:\\My Setup\\suphelp\\setup.exe\" /Q:A",
                                 "status: Instalowanie czcionek systemowych...", "repaint",
                                 "run: \"D:\\My Setup\\supfont\\setup.exe\" /Q:A"));
  EXPECT_EQ(machine.showWindow, 0);  // hidden
}

TEST_F(SystemComponentsTest, TheJournalNotesEachRunWithItsExitCode) {
  std::vector<std::string> journal;
  SetJournalSink([&](const std::string& line) { journal.push_back(line); });
  Provide({"supfont\\setup.exe"});
  machine.exitCode = 3010;  // not examined: the next rows would run all the same
  Run();
  SetJournalSink({});
  EXPECT_THAT(journal, ElementsAre("component: \"D:\\My Setup\\supfont\\setup.exe\" /Q:A (exit code 3010)"));
}

TEST_F(SystemComponentsTest, FirstRowOnlyOnVersion40AndMissingProbesSkipTheirRows) {
  Provide({"supdcom\\setup.exe", "supagnt\\merlin.exe"});
  machine.directories.insert(std::string(kMedium) + "supfont\\setup.exe");  // a folder does not count
  for (VersionRecord version : {VersionRecord{4, 10, 67766222, 1}, VersionRecord{5, 0, 2195, 2}}) {
    machine.version = version;
    machine.commandLines.clear();
    // merlin.exe runs while the label keeps the previous step's text.
    EXPECT_THAT(Run(), ElementsAre("run: \"D:\\My Setup\\supagnt\\merlin.exe\" /Q:A", "repaint"));
  }
  machine.version.reset();  // no version text at all
  machine.commandLines.clear();
  EXPECT_THAT(Run(), ElementsAre("run: \"D:\\My Setup\\supagnt\\merlin.exe\" /Q:A", "repaint"));
  machine.files.clear();
  machine.commandLines.clear();
  EXPECT_THAT(Run(), IsEmpty());
}

}  // namespace
}  // namespace setuvane
