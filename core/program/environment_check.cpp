#include "core/program/environment_check.h"

#include "core/run/main_window_texts.h"
#include "dialogs/message_routines.h"

namespace setuvane {

std::optional<std::string> FindEnvironmentProblem(const EnvironmentQueries& queries) {
  const MainWindowTexts& t = MainWindowText();
  if (queries.CleanBoot() != 0) return t.safeModeMessage;
  if (queries.MousePresent() == 0) return t.noMouseMessage;
  if (queries.BitsPerPixel() <= 8) return t.fewColoursMessage;
  return std::nullopt;
}

bool CheckEnvironment(const EnvironmentQueries& queries) {
  const std::optional<std::string> problem = FindEnvironmentProblem(queries);
  if (!problem) return true;
  const MainWindowTexts& t = MainWindowText();
  ShowProblemDialog(t.environmentTitle, *problem, t.environmentHint, t.environmentDetails);
  return false;
}

}  // namespace setuvane
