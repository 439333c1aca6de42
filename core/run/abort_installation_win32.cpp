#include <windows.h>

#include "archive/file_system.h"
#include "core/run/abort_installation.h"
#include "core/run/setup_folder.h"
#include "core/run/exit_codes.h"
#include "core/run/installation_undo.h"
#include "core/run/screen_cursor.h"
#include "core/run/main_window_texts.h"
#include "dialogs/message_routines.h"
#include "system/install_journal.h"

namespace setuvane {

void AbortInstallation() {
  bool undone = false;
  try {
    undone = UndoInstallation();
  } catch (...) {
    // Whatever is left undone, the record keeps for the next start.
  }
  SetScreenCursor(ScreenCursor::kDefault);
  const MainWindowTexts& t = MainWindowText();
  try {
    ShowMessageDialog(t.abortTitle, t.abortText + (undone ? "\r\n" + t.changesUndone : std::string()), kKindWarning);
  } catch (...) {
    // The program ends in any case; nothing may keep it alive.
  }
  EndProgramAtOnce();
}

void EndProgramAtOnce() {
  RemoveOwnSetupFolder(archive::NativeFileSystem());
  JournalNote("exit code " + std::to_string(EndingExitCode()));
  ExitProcess(static_cast<UINT>(EndingExitCode()));
}

}  // namespace setuvane
