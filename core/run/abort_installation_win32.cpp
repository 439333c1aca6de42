#include <windows.h>

#include "archive/file_system.h"
#include "core/run/abort_installation.h"
#include "core/run/setup_folder.h"
#include "core/run/exit_codes.h"
#include "core/run/screen_cursor.h"
#include "core/run/main_window_texts.h"
#include "dialogs/message_routines.h"
#include "system/install_journal.h"

namespace setuvane {

void AbortInstallation() {
  SetScreenCursor(ScreenCursor::kDefault);
  const MainWindowTexts& t = MainWindowText();
  try {
    ShowMessageDialog(t.abortTitle, t.abortText, kKindWarning);
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
