#include "tests/core/recording_dialogs.h"

#include "dialogs/message_routines.h"

namespace setuvane {

fakes::RecordingDialogs& fakes::Dialogs() {
  static RecordingDialogs dialogs;
  return dialogs;
}

int ShowMessageDialog(const std::string& title, const std::string& text, int kind) {
  fakes::Dialogs().messages.push_back({title, text, kind});
  std::vector<int>& answers = fakes::Dialogs().answers;
  if (answers.empty()) return fakes::Dialogs().answer;
  const int answer = answers.front();
  answers.erase(answers.begin());
  return answer;
}

// Recorded among the questions with kind 0, its captions after its text.
int ShowChoiceDialog(const std::string& title, const std::string& text, const std::vector<std::string>& captions) {
  std::string shown = text;
  for (const std::string& caption : captions) shown += " [" + caption + "]";
  return ShowMessageDialog(title, shown, 0);
}

void ShowProblemDialog(const std::string& title, const std::string& message,
                       const std::string& hint, const std::string& details) {
  fakes::Dialogs().problems.push_back({title, message, hint, details});
}

}  // namespace setuvane
