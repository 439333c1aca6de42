// What the flat controls have in common as Win32 windows: the state every control
// keeps about its window (ControlState), the caption and font of the controls that
// draw text of their own (CaptionState), the hover of those that light up under the
// mouse (HoverCaptionState), and the message cases they answer alike. Each control's
// Impl derives from one of them and keeps only what is its own.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "widgets/hover_tracker_win32.h"
#include "widgets/window_class_win32.h"

namespace setuvane {

// The window (null before Create and once destroyed), whether the C++ object still
// exists, and the properties that become window styles. Before the window exists
// the setters only store; afterwards they go through the window, whose messages
// update the stored values.
struct ControlState {
  HWND hwnd = nullptr;
  AliveToken alive = MakeAliveToken();
  bool enabled = true, visible = true, tabStop = false;

  // Called at WM_NCDESTROY (see ControlWindowProc); a control hides it when it has
  // something to let go.
  void Detach() {}

  // Redraws the whole window at once. The painted controls draw every pixel in
  // WM_PAINT, so nothing is erased first.
  void Repaint() const;

  // WS_VISIBLE, WS_TABSTOP and WS_DISABLED as the properties ask, for Create.
  DWORD CreationStyle() const;

  // With a window, EnableWindow: its WM_ENABLE stores the value.
  void SetEnabled(bool value);
  void SetVisible(bool value);
  void SetTabStop(bool value);

  // For the control's destructor: a callback running further up the stack learns
  // that the control is gone, and the window goes with it.
  void Destroy();
};

// A control with a caption held as its window text, and a font of its
// own (none: the parent's).
struct CaptionState : ControlState {
  std::string caption;
  HFONT font = nullptr;

  // The font the control draws with.
  HFONT Font() const;

  // With a window, the caption goes through WM_SETTEXT, which stores it.
  void SetCaption(std::string_view value);
  // Create: the stored caption becomes the new window's text.
  void ApplyCaption() const;
  void SetFont(HFONT value);

  // True when `ch`, a dialog character as UTF-16, is the caption's accelerator.
  bool IsAccelerator(wchar_t ch) const;

  // WM_SETTEXT (the caption is kept), WM_SETFONT and WM_GETFONT;
  // true when `msg` was one of them.
  bool HandleCaptionMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

// A captioned control that takes part in its class's hover tracking: the tracker
// tells it when the mouse has left, through LoseHover, which the control defines.
struct HoverCaptionState : CaptionState, HoverClient {
  explicit HoverCaptionState(HoverTracker& classTracker) : tracker(classTracker) {}

  HoverTracker& tracker;
  bool hover = false;

  HWND HoverWindow() const override { return hwnd; }

  // WM_MOUSEMOVE: the control under the mouse takes the tracking over. True when
  // the control, enabled, has just got the hover (and must be redrawn).
  bool TakeHover(LPARAM lParam);
  void StopHover() { tracker.Stop(this); }
  // At WM_DESTROY and WM_NCDESTROY: the tracker must not keep a window that is gone.
  void Detach() { StopHover(); }

 protected:
  ~HoverCaptionState() = default;
};

// Registers the class `cls` for `State` (once) and creates the control's window,
// with the styles its properties ask for and `style` besides. `state` must be the
// object the window procedure is to find, as `State`.
template <class State>
bool CreateControl(State& state, const char* cls, HWND parent, int x, int y, int width, int height,
                   DWORD style = 0, DWORD exStyle = 0, HCURSOR cursor = nullptr) {
  RegisterClassOnce(cls, &ControlWindowProc<State>, cursor);
  return CreateControlWindow(cls, state.CreationStyle() | style, exStyle, parent, x, y, width, height, &state) !=
         nullptr;
}

// WM_PAINT, WM_PRINTCLIENT and WM_ERASEBKGND for a control that paints all of
// itself through `paint(HDC)`; true when `msg` was one of them.
template <class Paint>
bool HandlePaintMessage(HWND hwnd, UINT msg, WPARAM wParam, LRESULT& result, Paint&& paint) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      paint(ps.hdc);
      EndPaint(hwnd, &ps);
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    case WM_ERASEBKGND: result = 1; return true;
    default: return false;
  }
}

// The controls whose background is the parent's until a colour is set (`color`,
// `parentColor`), and which may derive their other colours from it through
// `RecomputeAdvColors()` (`useAdvColors`).

// The UseAdvColors property: on, the background follows the parent again.
template <class State>
void ChangeUseAdvColors(State& state, bool value) {
  state.useAdvColors = value;
  state.parentColor = value;
  state.RecomputeAdvColors();
  state.Repaint();
}

// WM_SYSCOLORCHANGE: with UseAdvColors the colours are derived again from the
// parent's background.
template <class State>
LRESULT OnSysColorChange(State& state) {
  if (state.useAdvColors) {
    state.parentColor = true;
    state.RecomputeAdvColors();
  }
  state.Repaint();
  return 0;
}

// WM_SETCURSOR: `cursor` over the client area, when the control has one; true when
// it was set.
bool SetClientCursor(HCURSOR cursor, LPARAM lParam);

// True when the control under the mouse cursor is `hwnd`.
bool CursorIsOver(HWND hwnd);

// Calls `fn(State&)` for every other child of `hwnd`'s parent of the class `cls`.
template <class State, class Fn>
void ForEachSiblingOfClass(HWND hwnd, const char* cls, Fn&& fn) {
  HWND parent = hwnd ? GetParent(hwnd) : nullptr;
  if (!parent) return;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child == hwnd || !IsWindowOfClass(child, cls)) continue;
    if (auto* other = StateOfWindow<State>(child)) fn(*other);
  }
}

}  // namespace setuvane
