// The plumbing every control window shares: one-time class registration, the state
// object attached at WM_NCCREATE and let go at WM_NCDESTROY, and the window under a
// screen point.
#pragma once

#include <windows.h>

#include <memory>

#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {

// Registers the window class once per process (later calls find it registered).
void RegisterClassOnce(const char* name, WNDPROC proc, HCURSOR cursor = nullptr);

// Creates a child window of `cls` whose state object is `state`.
HWND CreateControlWindow(const char* cls, DWORD style, DWORD exStyle, HWND parent, int x, int y,
                         int width, int height, void* state);

// True when `hwnd` is a window of the class `cls`.
bool IsWindowOfClass(HWND hwnd, const char* cls);

// The control under a screen point, disabled controls included (WindowFromPoint
// skips those, so the search goes on down through the children).
HWND ControlAtScreenPoint(POINT screen);

// The screen point of a mouse message's lParam, relative to `hwnd`.
POINT MessagePointToScreen(HWND hwnd, LPARAM lParam);

// Lets a control find out after a user callback whether it still exists: the
// callback may have destroyed the control's owner.
using AliveToken = std::shared_ptr<bool>;
inline AliveToken MakeAliveToken() { return std::make_shared<bool>(true); }

// The window procedure of a control whose state type `State` has a member `hwnd`,
// `LRESULT Handle(UINT, WPARAM, LPARAM)` and `void Detach()` (called at WM_NCDESTROY).
// The state is owned by the control's C++ object, so properties can be set before
// the window exists and the window may be destroyed with its parent first.
template <class State>
LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* state = static_cast<State*>(ui::CreationParameter(lParam));
    state->hwnd = hwnd;
    ui::ChangeWindowLong(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  }
  auto* state = reinterpret_cast<State*>(ui::WindowLong(hwnd, GWLP_USERDATA));
  if (!state) return ui::DefaultProc(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    state->Detach();
    state->hwnd = nullptr;
    ui::ChangeWindowLong(hwnd, GWLP_USERDATA, 0);
    return ui::DefaultProc(hwnd, msg, wParam, lParam);
  }
  return state->Handle(msg, wParam, lParam);
}

template <class State>
State* StateOfWindow(HWND hwnd) {
  return reinterpret_cast<State*>(ui::WindowLong(hwnd, GWLP_USERDATA));
}

}  // namespace setuvane
