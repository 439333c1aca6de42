#include "widgets/hosted_edit_win32.h"

#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {

bool HostedEdit::Create(HWND host, DWORD editStyle, const RectI& rect) {
  edit_ = ui::NewWindow(0, "EDIT", "", WS_CHILD | WS_VISIBLE | editStyle, rect.left, rect.top, rect.Width(),
                        rect.Height(), host);
  return edit_ != nullptr;
}

void HostedEdit::SetText(std::string_view text) {
  if (edit_) ui::SetText(edit_, text);
}

std::string HostedEdit::Text() const {
  return edit_ ? ui::Text(edit_) : std::string();
}

void HostedEdit::ApplyFont(HWND host, HFONT own, bool redraw) const {
  if (edit_) ui::Send(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(EffectiveFont(host, own)), redraw);
}

void HostedEdit::Invalidate(HWND host) const {
  if (host) InvalidateRect(host, nullptr, TRUE);
  if (edit_) InvalidateRect(edit_, nullptr, TRUE);
}

LRESULT HostedEdit::AnswerColor(HDC dc, TColor background, TColor text) {
  const COLORREF back = ResolveColor(background);
  if (!brush_ || brushColor_ != back) {
    brush_.Reset(CreateSolidBrush(back));
    brushColor_ = back;
  }
  SetTextColor(dc, ResolveColor(text));
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(brush_.get());
}

bool HostedEdit::Forward(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
  const bool editMessage = msg == WM_SETTEXT || msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH ||
                           msg == WM_SETFONT || msg == WM_GETFONT || msg == WM_COPY ||
                           (msg >= EM_GETSEL && msg <= EM_GETIMESTATUS);
  if (!editMessage || !edit_) return false;
  result = ui::Send(edit_, msg, wParam, lParam);
  return true;
}

}  // namespace setuvane
