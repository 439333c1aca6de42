#include "widgets/control_base_win32.h"

#include "widgets/gdi_win32.h"
#include "widgets/mouse_rules.h"

namespace setuvane {

void ControlState::Repaint() const {
  if (!hwnd) return;
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
}

DWORD ControlState::CreationStyle() const {
  DWORD style = 0;
  if (visible) style |= WS_VISIBLE;
  if (tabStop) style |= WS_TABSTOP;
  if (!enabled) style |= WS_DISABLED;
  return style;
}

void ControlState::SetEnabled(bool value) {
  if (hwnd) {
    EnableWindow(hwnd, value);
  } else {
    enabled = value;
  }
}

void ControlState::SetVisible(bool value) {
  visible = value;
  if (hwnd) ShowWindow(hwnd, value ? SW_SHOWNA : SW_HIDE);
}

void ControlState::SetTabStop(bool value) {
  tabStop = value;
  if (!hwnd) return;
  LONG_PTR style = ui::WindowLong(hwnd, GWL_STYLE);
  style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  ui::ChangeWindowLong(hwnd, GWL_STYLE, style);
}

void ControlState::Destroy() {
  *alive = false;
  if (hwnd) DestroyWindow(hwnd);
}

HFONT CaptionState::Font() const { return EffectiveFont(hwnd, font); }

void CaptionState::SetCaption(std::string_view value) {
  if (hwnd) {
    ui::SetText(hwnd, value);
  } else {
    caption = std::string(value);
  }
}

void CaptionState::ApplyCaption() const { ui::SetText(hwnd, caption); }

void CaptionState::SetFont(HFONT value) {
  font = value;
  Repaint();
}

bool CaptionState::IsAccelerator(wchar_t ch) const { return IsCaptionAccelerator(caption, static_cast<char32_t>(ch)); }

bool CaptionState::HandleCaptionMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_SETTEXT:
      result = ui::DefaultProc(hwnd, msg, wParam, lParam);
      caption = ui::SetTextArgument(lParam);
      Repaint();
      return true;
    case WM_SETFONT:
      font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Repaint();
      result = 0;
      return true;
    case WM_GETFONT: result = reinterpret_cast<LRESULT>(Font()); return true;
    default: return false;
  }
}

bool HoverCaptionState::TakeHover(LPARAM lParam) {
  if (!tracker.TakeOver(this, MessagePointToScreen(hwnd, lParam)) || !enabled || hover) return false;
  hover = true;
  return true;
}

bool SetClientCursor(HCURSOR cursor, LPARAM lParam) {
  if (!cursor || LOWORD(lParam) != HTCLIENT) return false;
  ::SetCursor(cursor);
  return true;
}

bool CursorIsOver(HWND hwnd) {
  POINT pt{};
  GetCursorPos(&pt);
  return ControlAtScreenPoint(pt) == hwnd;
}

}  // namespace setuvane
