#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "dialogs/application_title.h"
#include "dialogs/message_dialog_logic.h"
#include "dialogs/message_routines.h"
#include "dialogs/problem_dialog_logic.h"
#include "dialogs/uncaught_failure.h"

namespace setuvane {
namespace {

constexpr int kEnter = 13;
constexpr int kEsc = 27;

TEST(MessageDialogLogic, KindsShowTheirBubblesAndButtons) {
  using Captions = std::array<std::string, 3>;
  EXPECT_EQ(LayoutForKind(1).bubble, Bubble::kWarning);
  EXPECT_EQ(LayoutForKind(1).captions, (Captions{"OK", "", ""}));
  EXPECT_EQ(LayoutForKind(2).bubble, Bubble::kAsterisk);
  EXPECT_EQ(LayoutForKind(2).captions, (Captions{"OK", "", ""}));
  EXPECT_EQ(LayoutForKind(3).bubble, Bubble::kQuestion);
  EXPECT_EQ(LayoutForKind(3).captions, (Captions{"Nie", "Tak", ""}));
  EXPECT_EQ(LayoutForKind(4).bubble, Bubble::kWarning);
  EXPECT_EQ(LayoutForKind(4).captions, (Captions{"Anuluj", "Nie", "Tak"}));
  for (int kind : {0, 5, -1}) {
    EXPECT_EQ(LayoutForKind(kind).bubble, Bubble::kWarning);
    EXPECT_EQ(LayoutForKind(kind).captions, Captions{}) << kind;
  }
}

TEST(MessageDialogLogic, ButtonsAnswerByCaptionInAnyCase) {
  EXPECT_EQ(ResultForCaption("OK"), kResultOk);
  EXPECT_EQ(ResultForCaption("ok"), kResultOk);
  EXPECT_EQ(ResultForCaption("TAK"), kResultYes);
  EXPECT_EQ(ResultForCaption("nIe"), kResultNo);
  EXPECT_EQ(ResultForCaption("Anuluj"), kResultCancel);
  EXPECT_EQ(ResultForCaption(""), 0);
  EXPECT_EQ(ResultForCaption("Tak "), 0);
  EXPECT_EQ(ResultForCaption("Zamknij"), 0);
}

TEST(MessageDialogLogic, EnterAndEscapeFollowTheKinds) {
  for (int kind = 1; kind <= 5; ++kind) {
    const auto c = LayoutForKind(kind).captions;
    const int enter = ResultForKey(kEnter, c[0], c[1]);
    const int esc = ResultForKey(kEsc, c[0], c[1]);
    switch (kind) {
      case 1:
      case 2:
        EXPECT_EQ(enter, kResultOk);
        EXPECT_EQ(esc, kResultOk);
        break;
      case 3:
        EXPECT_EQ(enter, kResultYes);
        EXPECT_EQ(esc, kResultNo);
        break;
      default:  // kind 4 and the kinds without buttons ignore both keys
        EXPECT_EQ(enter, 0) << kind;
        EXPECT_EQ(esc, 0) << kind;
    }
  }
  EXPECT_EQ(ResultForKey('A', "OK", ""), 0);
}

TEST(ProblemDialogLogic, BlankTitleGivesWayToTheApplicationTitle) {
  EXPECT_EQ(ProblemCaption("   ", "App"), "App");
  EXPECT_EQ(ProblemCaption("", "App"), "App");
  EXPECT_EQ(ProblemCaption("\t\r\n", "App"), "App");
  EXPECT_EQ(ProblemCaption(" A ", "App"), " A ");
}

TEST(ApplicationTitle, StartsAsSetuvaneAndTellsItsListener) {
  EXPECT_EQ(ApplicationTitle(), "Setuvane");
  std::string seen;
  SetApplicationTitleListener([&](const std::string& title) { seen = title; });
  SetApplicationTitle("Instalator Aplikacji");
  EXPECT_EQ(seen, "Instalator Aplikacji");
  EXPECT_EQ(ApplicationTitle(), "Instalator Aplikacji");
  SetApplicationTitleListener(nullptr);
  SetApplicationTitle("Setuvane");
  EXPECT_EQ(seen, "Instalator Aplikacji");
}

TEST(UncaughtFailure, EscapingExceptionsReachTheHandlerWithTheirText) {
  std::vector<std::string> reports;
  SetUncaughtFailureHandler([&](const std::string& message) { reports.push_back(message); });
  CallReportingFailures([] { throw std::runtime_error("disk on fire"); });
  CallReportingFailures([] { throw 42; });
  CallReportingFailures([] {});
  SetUncaughtFailureHandler([](const std::string&) { throw std::logic_error("handler fails"); });
  CallReportingFailures([] { throw std::runtime_error("ignored"); });  // must not escape
  SetUncaughtFailureHandler(nullptr);
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0], "disk on fire");
  EXPECT_FALSE(reports[1].empty());
}

}  // namespace
}  // namespace setuvane
