#include "dialogs/form_window_win32.h"

#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {

void RegisterFormClass(const char* className, WNDPROC procedure, HBRUSH background) {
  ui::RegisterClassOnce(className, procedure, nullptr, background);
}

void DestroyFormWindow(HWND window) {
  if (!IsWindow(window)) return;
  ui::ChangeWindowLong(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

}  // namespace setuvane
