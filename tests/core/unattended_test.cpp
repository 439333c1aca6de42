// Unattended installation: the switches as Windows programs take them, and how
// each way an installation can end becomes its exit code.
#include "core/installation/unattended.h"

#include "core/run/exit_codes.h"
#include "core/run/installer_state.h"
#include "core/package/settings.h"
#include "core/run/switches.h"
#include "core/wizard/windowless_view.h"
#include "dialogs/dialog_responder.h"
#include "dialogs/message_routines.h"
#include "tests/core/installer_fixture.h"
#include "tests/core/program_ending.h"

namespace setuvane {
namespace {

using Arguments = std::vector<std::string>;

TEST(Switches, ArgumentsSplitAtBlanksOutsideQuotes) {
  EXPECT_EQ(SplitArguments(""), Arguments{});
  EXPECT_EQ(SplitArguments("  /SILENT   -log=a.txt "), (Arguments{"/SILENT", "-log=a.txt"}));
  EXPECT_EQ(SplitArguments("/DIR=\"C:\\Program Files\\Produkt\\\" /RESTART"),
            (Arguments{"/DIR=C:\\Program Files\\Produkt\\", "/RESTART"}));
  EXPECT_EQ(SplitArguments("\"/LOG=D:\\moje logi\\x.log\""), Arguments{"/LOG=D:\\moje logi\\x.log"});
  EXPECT_EQ(AfterProgramName("\"C:\\Nośnik z spacją\\setuvane.exe\" /SILENT"), " /SILENT");
  EXPECT_EQ(AfterProgramName("setuvane.exe"), "");
}

TEST(Switches, NamesInAnyCaseWithSlashOrDash) {
  Switches s = ParseSwitches({"-verysilent", "/Dir=D:\\A B", "/restart", "/LOG=x.log"});
  EXPECT_EQ(s.mode, RunMode::kVerySilent);
  EXPECT_EQ(s.folder, "D:\\A B");
  EXPECT_TRUE(s.restart);
  EXPECT_EQ(s.log, "x.log");
  EXPECT_FALSE(s.help);
  EXPECT_EQ(ParseSwitches({"/SILENT"}).mode, RunMode::kSilent);
  EXPECT_EQ(ParseSwitches({"/VERYSILENT", "/SILENT"}).mode, RunMode::kVerySilent);  // the quieter wins
  EXPECT_EQ(ParseSwitches({}).mode, RunMode::kInteractive);
}

TEST(Switches, AnythingNotUnderstoodInAnUnattendedRunAsksForHelp) {
  EXPECT_TRUE(ParseSwitches({"/?"}).help);
  for (const Arguments& bad : {Arguments{"/QUIET"}, Arguments{"/SILENT=1"}, Arguments{"/DIR"}, Arguments{"/DIR="},
                               Arguments{"SILENT"}, Arguments{"/"}, Arguments{"/LOG"}}) {
    Arguments unattended = bad;
    unattended.push_back("/VERYSILENT");
    const Switches s = ParseSwitches(unattended);
    EXPECT_TRUE(s.help) << bad[0];
    EXPECT_EQ(s.refused, bad[0]);
  }
  EXPECT_EQ(ParseSwitches({"/SILENT", "/X", "/Y"}).refused, "/X");
}

TEST(Switches, TheWizardRunsWithoutArgumentsItDoesNotKnow) {
  // A launcher's own path or an autorun parameter, beside a switch that still counts.
  const Switches s = ParseSwitches({"D:\\setuvane.exe", "/AUTORUN", "/DIR=D:\\A"});
  EXPECT_EQ(s.mode, RunMode::kInteractive);
  EXPECT_FALSE(s.help);
  EXPECT_EQ(s.ignored, (Arguments{"D:\\setuvane.exe", "/AUTORUN"}));
  EXPECT_EQ(s.folder, "D:\\A");
  EXPECT_TRUE(ParseSwitches({"/AUTORUN", "/?"}).help);
  // A switch of ours that is malformed is refused even so.
  EXPECT_EQ(ParseSwitches({"/AUTORUN", "/DIR="}).refused, "/DIR=");
}

// What deployment tools send out of habit installs as it would without it; the
// same names with a value are still refused.
TEST(Switches, DeploymentToolsHabitsAreAcceptedAndKept) {
  for (const Arguments& run : {Arguments{"/VERYSILENT"}, Arguments{"/SILENT"}, Arguments{}, Arguments{"/UNINSTALL"}}) {
    Arguments arguments = run;
    arguments.insert(arguments.end(), {"/NORESTART", "-suppressmsgboxes", "/SP-"});
    const Switches s = ParseSwitches(arguments);
    EXPECT_FALSE(s.help) << s.refused;
    EXPECT_EQ(s.harmless, (Arguments{"/NORESTART", "-suppressmsgboxes", "/SP-"}));
    EXPECT_EQ(s.ignored, Arguments{});
  }
  EXPECT_EQ(ParseSwitches({"/VERYSILENT", "/NORESTART=1"}).refused, "/NORESTART=1");
  EXPECT_EQ(ParseSwitches({"/VERYSILENT", "/SP"}).refused, "/SP");
}

TEST(Switches, NobodyAnswersNoToQuestionsAndOkToNotices) {
  EXPECT_EQ(UnattendedAnswer(kKindQuestion), kResultNo);
  EXPECT_EQ(UnattendedAnswer(kKindWarning), kResultOk);
  EXPECT_EQ(UnattendedAnswer(kKindError), kResultOk);
  EXPECT_EQ(UnattendedAnswer(kKindQuestionCancel), kResultCancel);
}

class UnattendedTest : public fakes::InstallerTest {
 protected:
  void SetUp() override {
    InstallerTest::SetUp();
    EnableUnattendedEndings();
    view.onFolderChange = [this] { wizard.txtFolderChange(); };
    wizard.ShowPage();
  }
  int Run(bool packageOpened = true) {
    return RunUnattended({wizard, view, switches, packageOpened, [this] { return componentsRan; }, nullptr});
  }
  std::function<bool()> Step(const std::string& name, bool result = true) {
    return [this, name, result] {
      steps.push_back(name);
      return result;
    };
  }

  Switches switches{.mode = RunMode::kVerySilent};
  bool componentsRan = false;
  std::vector<std::string> steps;
  std::string failingStep;
  WindowlessView view;
  Wizard wizard{view, {Step("prepare"), [this] { steps.push_back("files"); return failingStep != "files"; },
                       Step("components"), Step("registry"), Step("shortcuts")}};
};

TEST_F(UnattendedTest, InstallsIntoTheFolderOfTheSwitchesAndEndsOnTheCompletionPage) {
  ProductLocation = "D:\\Z wiersza\\";  // as the start-up sets it from /DIR
  EXPECT_EQ(Run(), kExitInstalled);
  EXPECT_EQ(steps, (std::vector<std::string>{"prepare", "files", "components", "registry", "shortcuts"}));
  EXPECT_EQ(CurrentPage, &scrComplete);
  EXPECT_EQ(machine.diskRoot, "D:\\");  // the folder page's free-space check
  EXPECT_FALSE(machine.exitFlags);      // no restart unless asked for
}

TEST_F(UnattendedTest, EachEndHasItsExitCode) {
  EXPECT_EQ(Run(/*packageOpened=*/false), kExitPackageUnreadable);
  EXPECT_TRUE(steps.empty());

  ProductLocation = "C:\\a";
  EXPECT_EQ(Run(), kExitFolderRefused);
  machine.diskSpace = DiskSpace{1, 1, 10485759, 10485759, std::nullopt};
  ProductLocation = "C:\\Aplikacja\\";
  EXPECT_EQ(Run(), kExitFolderRefused);
  EXPECT_TRUE(steps.empty());  // nothing installed
  ASSERT_EQ(fakes::Dialogs().problems.size(), 2u);

  machine.diskSpace = DiskSpace{1, 1, 100u << 20, 100u << 20, std::nullopt};
  componentsRan = true;
  EXPECT_EQ(Run(), kExitRestartAdvised);
  switches.restart = true;
  EXPECT_EQ(Run(), kExitInstalled);
  EXPECT_EQ(machine.exitFlags, 6u);

  failingStep = "files";
  try {
    Run();
    FAIL() << "a failed step must stop the program";
  } catch (const fakes::ProgramEnded& ended) {
    EXPECT_TRUE(ended.aborted);
    EXPECT_EQ(EndingExitCode(), kExitStepFailed);
  }
}

TEST(Switches, UninstallStartsFromTheProgramFolderOrWithTheRecordsPath) {
  EXPECT_EQ(ParseSwitches({"/uninstall"}).uninstall, std::optional<std::string>(""));
  const Switches s = ParseSwitches({"/UNINSTALL=C:\\P\\uninstall.dat", "/VERYSILENT", "/LOG=u.log"});
  EXPECT_EQ(s.uninstall, std::optional<std::string>("C:\\P\\uninstall.dat"));
  EXPECT_EQ(s.mode, RunMode::kVerySilent);
  EXPECT_FALSE(s.help);
  EXPECT_FALSE(ParseSwitches({}).uninstall);
  // No folder to choose, nobody to restart; an empty record path is no path.
  EXPECT_EQ(ParseSwitches({"/UNINSTALL", "/DIR=C:\\Inny"}).refused, "/DIR");
  EXPECT_TRUE(ParseSwitches({"/UNINSTALL", "/RESTART"}).help);
  EXPECT_EQ(ParseSwitches({"/UNINSTALL="}).refused, "/UNINSTALL=");
}

}  // namespace
}  // namespace setuvane
