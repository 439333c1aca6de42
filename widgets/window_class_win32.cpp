#include "widgets/window_class_win32.h"

namespace setuvane {

void RegisterClassOnce(const char* name, WNDPROC proc, HCURSOR cursor) {
  ui::RegisterClassOnce(name, proc, cursor, nullptr, CS_DBLCLKS);
}

HWND CreateControlWindow(const char* cls, DWORD style, DWORD exStyle, HWND parent, int x, int y,
                         int width, int height, void* state) {
  return ui::NewWindow(exStyle, cls, "", style | WS_CHILD | WS_CLIPSIBLINGS, x, y, width, height, parent, state);
}

bool IsWindowOfClass(HWND hwnd, const char* cls) { return ui::IsOfClass(hwnd, cls); }

HWND ControlAtScreenPoint(POINT screen) {
  HWND hwnd = WindowFromPoint(screen);
  while (hwnd) {
    POINT client = screen;
    ScreenToClient(hwnd, &client);
    HWND child = ChildWindowFromPointEx(hwnd, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == hwnd) break;
    hwnd = child;
  }
  return hwnd;
}

POINT MessagePointToScreen(HWND hwnd, LPARAM lParam) {
  POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(hwnd, &pt);
  return pt;
}

}  // namespace setuvane
