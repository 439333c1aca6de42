#include <windows.h>

#include "core/abort_installation.h"
#include "core/main_window_texts.h"
#include "dialogs/message_routines.h"

namespace setuvane {

void AbortInstallation() {
  SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
  const MainWindowTexts& t = MainWindowText();
  try {
    ShowMessageDialog(t.abortTitle, t.abortText, kKindWarning);
  } catch (...) {
    // The program ends in any case; nothing may keep it alive.
  }
  EndProgramAtOnce();
}

void EndProgramAtOnce() { ExitProcess(0); }

}  // namespace setuvane
