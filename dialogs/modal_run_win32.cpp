#include "dialogs/modal_run_win32.h"

#include <vector>

#include "dialogs/message_routines.h"
#include "dialogs/uncaught_failure.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

HWND g_mainWindow = nullptr;

struct DisabledWindows {
  HWND keep;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM param) {
  auto* disabled = reinterpret_cast<DisabledWindows*>(param);
  if (window != disabled->keep && IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    disabled->windows.push_back(window);
  }
  return TRUE;
}

bool IsWithin(HWND window, HWND root) { return window == root || IsChild(root, window); }

}  // namespace

void SetMainWindow(HWND window) { g_mainWindow = window; }
HWND MainWindow() { return g_mainWindow; }

HWND DialogOwner() {
  HWND active = GetActiveWindow();
  if (active && IsWindowVisible(active)) return active;
  return g_mainWindow && IsWindowVisible(g_mainWindow) ? g_mainWindow : nullptr;
}

int RunModal(ModalRun& run) {
  DisabledWindows disabled{run.window, {}};
  EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&disabled));
  ShowWindow(run.window, SW_SHOW);
  SetForegroundWindow(run.window);
  SetFocus(run.window);

  run.result = 0;
  while (run.result == 0) {
    if (!IsWindow(run.window)) {
      run.result = kResultCancel;
      break;
    }
    MSG msg;
    const BOOL got = ui::NextMessage(msg);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the program's loop ends too
      run.result = kResultCancel;
      break;
    }
    if (got < 0) {
      run.result = kResultCancel;
      break;
    }
    if (msg.message == WM_KEYDOWN && run.previewKey && IsWithin(msg.hwnd, run.window)) {
      CallReportingFailures([&] { run.previewKey(msg); });
    }
    TranslateMessage(&msg);
    ui::Dispatch(msg);
  }

  // Enable the others before hiding, so that activation returns to them.
  for (HWND window : disabled.windows) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  if (IsWindow(run.window)) ShowWindow(run.window, SW_HIDE);
  return run.result;
}

}  // namespace setuvane
