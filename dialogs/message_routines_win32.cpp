// The two message routines over the question window and the problem dialog. Each
// call creates its window, shows it modally and destroys it before returning
// (the window objects' destructors run also when a step throws).
#include <exception>

#include "dialogs/application_title.h"
#include "dialogs/dialog_responder.h"
#include "dialogs/event_logger.h"
#include "dialogs/info_dialog_win32.h"
#include "dialogs/message_dialog_win32.h"
#include "dialogs/message_routines.h"
#include "dialogs/problem_dialog_logic.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

// The installer keeps no log file: the Application event log is the one trace of
// a failed installation that an administrator can read afterwards. The entry is
// written before the dialog shows, so it stays even if the user never closes it.
void WriteProblemToEventLog(const std::string& message, const std::string& hint, const std::string& details) {
  try {
    TEventLogger logger(SystemEventSources());
    logger.SetProcessName(ApplicationTitle());
    logger.Open();
    logger.Write(FormatText("%s: [%s] [%s]", {message, hint, details}));
  } catch (const std::exception&) {
    // A source that cannot be registered must not keep the report from the user.
  }
}

}  // namespace

int ShowMessageDialog(const std::string& title, const std::string& text, int kind) {
  if (const DialogResponder& responder = CurrentDialogResponder(); responder.message)
    return responder.message(title, text, kind);
  TfrmMessageDialog dialog;
  dialog.Prepare(title, text, kind);
  return dialog.ShowModal();
}

int ShowChoiceDialog(const std::string& title, const std::string& text, const std::vector<std::string>& captions) {
  if (CurrentDialogResponder().message) return 0;
  TfrmMessageDialog dialog;
  dialog.PrepareChoice(title, text, captions);
  return dialog.ShowChoiceModal();
}

void ShowProblemDialog(const std::string& title, const std::string& message,
                       const std::string& hint, const std::string& details) {
  WriteProblemToEventLog(message, hint, details);
  // Nobody to show it to in an unattended run: the responder logs it.
  if (const DialogResponder& responder = CurrentDialogResponder(); responder.problem) {
    responder.problem(ProblemCaption(title, ApplicationTitle()), message, hint, details);
    return;
  }
  TfrmInfoDialog dialog;
  dialog.SetCaption(ProblemCaption(title, ApplicationTitle()));
  dialog.SetMessage(message);
  if (!hint.empty()) {
    dialog.SetDetailLines({hint, details});
    dialog.SetDetailsEnabled(true);
  } else {
    dialog.SetDetailsEnabled(false);
  }
  dialog.ShowModal();
}

}  // namespace setuvane
