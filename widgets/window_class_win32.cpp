#include "widgets/window_class_win32.h"

#include <cwchar>


namespace setuvane {

void RegisterClassOnce(const wchar_t* name, WNDPROC proc, HCURSOR cursor) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW existing{};
  if (GetClassInfoW(instance, name, &existing)) return;
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

HWND CreateControlWindow(const wchar_t* cls, DWORD style, DWORD exStyle, HWND parent, int x, int y,
                         int width, int height, void* state) {
  return CreateWindowExW(exStyle, cls, L"", style | WS_CHILD | WS_CLIPSIBLINGS, x, y, width, height, parent,
                         nullptr, GetModuleHandleW(nullptr), state);
}

bool IsWindowOfClass(HWND hwnd, const wchar_t* cls) {
  wchar_t name[64] = {};
  if (!GetClassNameW(hwnd, name, 64)) return false;
  return std::wcscmp(name, cls) == 0;
}

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
