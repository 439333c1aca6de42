#include "tests/core/program_ending.h"

#include "core/run/abort_installation.h"
#include "core/run/installation_undo.h"
#include "core/run/main_window_texts.h"
#include "dialogs/message_routines.h"

namespace setuvane {

void AbortInstallation() {
  const bool undone = UndoInstallation();
  const MainWindowTexts& t = MainWindowText();
  ShowMessageDialog(t.abortTitle, t.abortText + (undone ? "\r\n" + t.changesUndone : std::string()), kKindWarning);
  throw fakes::ProgramEnded{true};
}

void EndProgramAtOnce() { throw fakes::ProgramEnded{false}; }

}  // namespace setuvane
