#include "dialogs/form_window_win32.h"

namespace setuvane {

void RegisterFormClass(const wchar_t* className, WNDPROC procedure, HBRUSH background) {
  WNDCLASSW wc{};
  if (GetClassInfoW(GetModuleHandleW(nullptr), className, &wc)) return;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  RegisterClassW(&wc);
}

void DestroyFormWindow(HWND window) {
  if (!IsWindow(window)) return;
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

}  // namespace setuvane
