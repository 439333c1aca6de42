// The two message routines over the question window and the problem dialog. Each
// call creates its window, shows it modally and destroys it before returning
// (the window objects' destructors run also when a step throws).
#include "dialogs/application_title.h"
#include "dialogs/dialog_responder.h"
#include "dialogs/info_dialog_win32.h"
#include "dialogs/message_dialog_win32.h"
#include "dialogs/message_routines.h"
#include "dialogs/problem_dialog_logic.h"

namespace setuvane {

int ShowMessageDialog(const std::string& title, const std::string& text, int kind) {
  if (const DialogResponder& responder = CurrentDialogResponder(); responder.message)
    return responder.message(title, text, kind);
  TfrmMessageDialog dialog;
  dialog.Prepare(title, text, kind);
  return dialog.ShowModal();
}

void ShowProblemDialog(const std::string& title, const std::string& message,
                       const std::string& hint, const std::string& details) {
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
