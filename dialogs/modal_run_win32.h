// Showing a window modally: the other windows of the thread are disabled, messages
// are pumped until the window sets its modal result or is destroyed, and the
// disabled windows are enabled again before the run returns.
#pragma once

#include <windows.h>

#include <functional>

namespace setuvane {

// The main window of the program, over which dialogs centre and which owns them;
// null until the program sets it (dialogs then stand on their own).
void SetMainWindow(HWND window);
HWND MainWindow();

// The window a new dialog should be owned by: the active window of this thread
// (a dialog above another dialog), else the main window.
HWND DialogOwner();

struct ModalRun {
  HWND window = nullptr;
  int result = 0;  // set non-zero by the window's handlers to end the run
  // Sees every key-down message meant for the window or one of its controls
  // before it is dispatched (the key is dispatched afterwards in any case).
  std::function<void(const MSG&)> previewKey;
};

// Shows run.window, runs the loop and returns the modal result; 2 when the window
// was destroyed or the program was asked to quit (the quit request is kept).
int RunModal(ModalRun& run);

}  // namespace setuvane
