// The wizard's page logic against a window of plain data: every transition, the
// folder checks at their boundaries, the installation sequence and the input
// refused while it runs, and the two ways of leaving the completion page.
#include "core/wizard/wizard.h"

#include "core/run/installer_state.h"
#include "core/package/settings.h"
#include "core/wizard/wizard_texts.h"
#include "dialogs/application_title.h"
#include "dialogs/message_routines.h"
#include "tests/core/fake_wizard_view.h"
#include "tests/core/installer_fixture.h"
#include "tests/core/program_ending.h"

namespace setuvane {
namespace {

using fakes::Dialogs;
using fakes::ProgramEnded;

class WizardTest : public fakes::InstallerTest {
 protected:
  void SetUp() override {
    InstallerTest::SetUp();
    view.onFolderChange = [this] { wizard.txtFolderChange(); };
    wizard.ShowPage();
  }
  std::function<bool()> Step(const std::string& name, bool result = true) {
    return [this, name, result] {
      steps.push_back(name + " [" + view.progressCaption + "]");
      return result;
    };
  }
  void GoToFolderPage() {
    for (int i = 0; i < 3; ++i) wizard.btnNextClick();
    ASSERT_EQ(view.VisiblePage(), 4);
  }
  void SetFreeBytes(std::uint32_t bytes) { machine.diskSpace = DiskSpace{1, 1, bytes, bytes, std::nullopt}; }
  bool Enabled(WizardButton b) const { return view.enabled.at(b); }

  std::vector<std::string> steps;
  fakes::FakeWizardView view;
  Wizard wizard{view,
                {Step("prepare"), Step("files"), Step("components"), Step("registry"), Step("shortcuts")}};
};

TEST_F(WizardTest, NextAndPriorWalkThePagesOneAtATime) {
  EXPECT_EQ(view.VisiblePage(), 1);
  EXPECT_EQ(CurrentPage, &scrWelcome);
  EXPECT_FALSE(Enabled(WizardButton::kPrior));
  wizard.btnPriorClick();  // disabled: nothing
  EXPECT_EQ(PageIndex, 1);
  wizard.btnNextClick();
  EXPECT_EQ(view.VisiblePage(), 2);
  EXPECT_TRUE(Enabled(WizardButton::kPrior) && Enabled(WizardButton::kNext));
  wizard.btnNextClick();
  EXPECT_EQ(view.VisiblePage(), 3);
  wizard.btnPriorClick();
  EXPECT_EQ(view.VisiblePage(), 2);
  wizard.btnNextClick();
  wizard.btnNextClick();
  EXPECT_EQ(view.VisiblePage(), 4);
  EXPECT_EQ(view.folderText, "C:\\Aplikacja\\");
  EXPECT_EQ(view.freeSpace, "Dostępne miejsce: 100 MB");
  wizard.btnPriorClick();
  EXPECT_EQ(view.VisiblePage(), 3);
  EXPECT_TRUE(steps.empty());
}

TEST_F(WizardTest, TheFolderTextBecomesTheProgramFolderWithABackslash) {
  GoToFolderPage();
  view.SetFolderText("  D:\\Inny ");
  EXPECT_EQ(ProductLocation, "D:\\Inny\\");
  EXPECT_EQ(machine.diskRoot, "  \\");  // the first two characters, untrimmed
  view.SetFolderText("C:\\Aplikacja");
  EXPECT_EQ(ProductLocation, "C:\\Aplikacja\\");
  wizard.btnPriorClick();
  wizard.btnNextClick();
  EXPECT_EQ(view.folderText, "C:\\Aplikacja\\");  // comes back with its backslash
  view.SetFolderText("");
  EXPECT_EQ(ProductLocation, "");
  machine.diskSpace.reset();  // no medium: the query fails
  view.SetFolderText("A:\\x");
  EXPECT_EQ(view.freeSpace, "Dostępne miejsce: 0 MB");
}

TEST_F(WizardTest, TheFolderMustHaveFiveCharactersAndTenMegabytesFree) {
  const WizardTexts& t = WizardText();
  GoToFolderPage();
  struct Case {
    std::string folder;
    std::optional<std::uint32_t> freeBytes;  // none: the query fails
    const ReportTexts* refusal;
  } cases[] = {
      {" C:\\A ", 100u << 20, &t.folderTooShort},  // four characters within blanks
      {"C:\\Ł", 100u << 20, &t.folderTooShort},    // characters count, not bytes
      {"C:\\Łódź", 100u << 20, &t.folderNotHeld},  // a letter this system's code page lacks
      {"C:\\AB", 10485759, &t.folderTooSmall},     // five characters pass the length test
      {"C:\\AB", std::nullopt, &t.folderTooSmall}, {"C:\\AB", 10485760, nullptr},
  };
  machine.unheldLetter = "Ł";
  for (const Case& c : cases) {
    Dialogs() = {};
    if (c.freeBytes) SetFreeBytes(*c.freeBytes); else machine.diskSpace.reset();
    view.SetFolderText(c.folder);
    wizard.btnNextClick();
    if (c.refusal) {
      EXPECT_EQ(view.VisiblePage(), 4) << c.folder;
      ASSERT_EQ(Dialogs().problems.size(), 1u);
      EXPECT_EQ(Dialogs().problems[0].title, c.refusal->title);
      EXPECT_EQ(Dialogs().problems[0].message, c.refusal->message);
      EXPECT_EQ(Dialogs().problems[0].hint, c.refusal->hint);
      EXPECT_EQ(Dialogs().problems[0].details, "Selekcja lokalizacji aplikacji została odwołana.");
    } else {
      EXPECT_EQ(view.VisiblePage(), 6);
      EXPECT_TRUE(Dialogs().problems.empty());
    }
  }
}

TEST_F(WizardTest, LeavingTheFolderPageRunsTheStepsInOrderAndEndsOnTheCompletionPage) {
  GoToFolderPage();
  std::vector<std::string> pagesDuringSteps;
  view.duringMessages = [&] { pagesDuringSteps.push_back(std::to_string(view.VisiblePage())); };
  wizard.btnNextClick();
  EXPECT_EQ(steps, (std::vector<std::string>{"prepare []", "files []", "components [Aktualizacja systemu...]",
                                             "registry [Aktualizacja ustawień systemu...]",
                                             "shortcuts [Tworzenie skrótów aplikacji...]"}));
  EXPECT_EQ(std::set<std::string>(pagesDuringSteps.begin(), pagesDuringSteps.end()), std::set<std::string>{"5"});
  EXPECT_EQ(view.VisiblePage(), 6);
  EXPECT_EQ(view.closeTag, 1);
  EXPECT_FALSE(Enabled(WizardButton::kPrior) || Enabled(WizardButton::kNext));
  EXPECT_TRUE(Enabled(WizardButton::kClose));
}

TEST_F(WizardTest, InputWhileTheStepsRunIsRefused) {
  GoToFolderPage();
  Dialogs().answer = kResultYes;
  int clicks = 0;
  view.duringMessages = [&] {
    ++clicks;
    EXPECT_FALSE(Enabled(WizardButton::kPrior) || Enabled(WizardButton::kNext) || Enabled(WizardButton::kClose));
    wizard.btnPriorClick();
    wizard.btnNextClick();
    wizard.btnCloseClick();  // also what Escape does
  };
  wizard.btnNextClick();
  EXPECT_GT(clicks, 0);
  EXPECT_EQ(steps.size(), 5u);
  EXPECT_TRUE(Dialogs().messages.empty());
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(view.VisiblePage(), 6);
}

TEST_F(WizardTest, AFailingStepStopsTheInstallation) {
  // The package read again on entering the install page is a step too: without it
  // neither the files nor the components of the medium are installed.
  for (const int failing : {3, 0}) {
    steps.clear();
    view.progressCaption.clear();
    Dialogs() = {};
    PageIndex = 1;
    Wizard stopping{view, {Step("prepare", failing != 0), Step("files"), Step("components"),
                           Step("registry", failing != 3), Step("shortcuts")}};
    stopping.ShowPage();
    for (int i = 0; i < 3; ++i) stopping.btnNextClick();
    try {
      stopping.btnNextClick();
      ADD_FAILURE() << "the installation went on";
    } catch (const ProgramEnded& ended) {
      EXPECT_TRUE(ended.aborted);
    }
    EXPECT_EQ(steps.back(), failing ? "registry [Aktualizacja ustawień systemu...]" : "prepare []");
    ASSERT_EQ(Dialogs().messages.size(), 1u);
    EXPECT_EQ(Dialogs().messages[0].title, "Problem instalacji");
  }
}

TEST_F(WizardTest, PriorNeverLeavesTheWelcomePage) {
  // As a start-up cut short by a failure leaves it: the button enabled on page 1.
  view.enabled[WizardButton::kPrior] = true;
  wizard.btnPriorClick();
  wizard.btnPriorClick();
  EXPECT_EQ(PageIndex, 1);
  EXPECT_EQ(view.VisiblePage(), 1);
}

TEST_F(WizardTest, CloseAsksOnPagesOneToFiveAndEndsOrRestartsOnTheLast) {
  SetApplicationTitle("Zadanie");
  Dialogs().answer = kResultNo;
  wizard.btnNextClick();
  wizard.btnNextClick();
  wizard.btnCloseClick();
  ASSERT_EQ(Dialogs().messages.size(), 1u);
  EXPECT_EQ(Dialogs().messages[0].title, "Zadanie");
  EXPECT_EQ(Dialogs().messages[0].text, WizardText().stopQuestion);
  EXPECT_EQ(Dialogs().messages[0].kind, 3);
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(view.VisiblePage(), 3);
  Dialogs().answer = kResultYes;
  wizard.btnCloseClick();
  EXPECT_EQ(view.closed, 1);

  // The completion page: no question; the restart when it is chosen.
  view.closed = 0;
  Dialogs() = {};
  wizard.btnNextClick();
  wizard.btnNextClick();
  EXPECT_EQ(view.VisiblePage(), 6);
  view.restartChosen = false;
  wizard.btnCloseClick();
  EXPECT_EQ(view.closed, 1);
  EXPECT_FALSE(machine.exitFlags);
  view.restartChosen = true;
  wizard.btnCloseClick();
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(machine.exitFlags, 6u);  // EWX_REBOOT | EWX_FORCE
  EXPECT_TRUE(Dialogs().messages.empty());
}

TEST_F(WizardTest, BrowsingSetsTheFolderOnlyWhenOneIsChosen) {
  GoToFolderPage();
  wizard.btnBrowseClick();
  EXPECT_EQ(view.folderText, "C:\\Aplikacja\\");
  view.browseAnswer = "D:\\Wybrany";
  wizard.btnBrowseClick();
  EXPECT_EQ(view.folderText, "D:\\Wybrany");
  EXPECT_EQ(ProductLocation, "D:\\Wybrany\\");
}

}  // namespace
}  // namespace setuvane
