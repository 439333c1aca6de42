// The window procedure shared by the installer's own windows (the forms): each
// window belongs to a C++ object passed as the creation parameter, attached at
// WM_NCCREATE and detached at WM_NCDESTROY. Messages go to the object's
// HandleMessage; a C++ failure escaping it is reported, never unwound into Windows.
#pragma once

#include <windows.h>

#include "dialogs/uncaught_failure.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {

// Registers the class once per process; `background` may be a COLOR_xxx + 1 value.
void RegisterFormClass(const char* className, WNDPROC procedure, HBRUSH background);

// Form must have `HWND window_` and `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`,
// reachable by this function (a friend).
template <class Form>
LRESULT CALLBACK FormWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* form = static_cast<Form*>(ui::CreationParameter(lp));
    form->window_ = window;
    ui::ChangeWindowLong(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* self = reinterpret_cast<Form*>(ui::WindowLong(window, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) ui::ChangeWindowLong(window, GWLP_USERDATA, 0);
  if (!self) return ui::DefaultProc(window, msg, wp, lp);
  LRESULT result = 0;
  bool handled = false;
  CallReportingFailures([&] {
    result = self->HandleMessage(msg, wp, lp);
    handled = true;
  });
  return handled ? result : ui::DefaultProc(window, msg, wp, lp);
}

// Detaches the object and destroys its window: no handler runs while the window
// and its controls go.
void DestroyFormWindow(HWND window);

}  // namespace setuvane
