#include "widgets/hosted_edit_win32.h"

#include <vector>

#include "system/cp1250.h"

namespace setuvane {

bool HostedEdit::Create(HWND host, DWORD editStyle, const RectI& rect) {
  edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | editStyle, rect.left, rect.top,
                          rect.Width(), rect.Height(), host, nullptr, GetModuleHandleW(nullptr), nullptr);
  return edit_ != nullptr;
}

void HostedEdit::SetText(std::string_view cp1250) {
  if (!edit_) return;
  const std::u16string text = Cp1250ToUtf16(cp1250);
  SetWindowTextW(edit_, reinterpret_cast<LPCWSTR>(text.c_str()));
}

std::string HostedEdit::Text() const {
  if (!edit_) return {};
  const int length = GetWindowTextLengthW(edit_);
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextW(edit_, buffer.data(), length + 1);
  return Utf16ToCp1250(std::u16string_view(reinterpret_cast<const char16_t*>(buffer.data()),
                                           static_cast<std::size_t>(copied)));
}

void HostedEdit::ApplyFont(HWND host, HFONT own, bool redraw) const {
  if (edit_) SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(EffectiveFont(host, own)), redraw);
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
  result = SendMessageW(edit_, msg, wParam, lParam);
  return true;
}

}  // namespace setuvane
