// An EDIT control inside a host window of our own. The host answers the edit's
// colour requests (WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC), so the window that holds
// the control need not, and passes text and font messages on to the edit.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "widgets/colors.h"
#include "widgets/gdi_win32.h"

namespace setuvane {

class HostedEdit {
 public:
  // Creates the edit as the host's child, filling `rect` of the host.
  bool Create(HWND host, DWORD editStyle, const RectI& rect);
  HWND edit() const { return edit_; }

  void SetText(std::string_view text);
  std::string Text() const;
  // Gives the edit the font the host draws with (see EffectiveFont).
  void ApplyFont(HWND host, HFONT own, bool redraw) const;

  // Invalidates the host and the edit, both erased: the edit draws its own
  // background in the colour the host answers.
  void Invalidate(HWND host) const;

  // The answer to WM_CTLCOLOR*: text and background colours and a matching brush.
  LRESULT AnswerColor(HDC dc, TColor background, TColor text);

  // Forwards the messages that belong to the edit (text, font, selection, copy);
  // true when `msg` was one of them.
  bool Forward(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

 private:
  HWND edit_ = nullptr;
  GdiObject<HBRUSH> brush_;
  COLORREF brushColor_ = CLR_INVALID;
};

}  // namespace setuvane
