#include "core/run/problem_reports.h"

#include "core/run/screen_cursor.h"
#include "dialogs/message_routines.h"

namespace setuvane {

void ReportProblem(const std::string& title, const std::string& message, const std::string& hint,
                   const std::string& details) {
  SetScreenCursor(ScreenCursor::kDefault);
  ShowProblemDialog(title, message, hint, details);
}

void ReportProblem(const ReportTexts& texts, const std::string& details) {
  ReportProblem(texts.title, texts.message, texts.hint, details);
}

ProblemReporter StepReporter() {
  return [](const Problem& p) { ReportProblem(p.title, p.message, p.hint, p.details); };
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace setuvane
