// TEdit97: a one-line EDIT in a host that draws a flat one-pixel border, darker
// while the edit has the focus. EN_CHANGE from the edit becomes OnChange.
#include "widgets/edit97.h"

#include "widgets/control_base_win32.h"
#include "widgets/hosted_edit_win32.h"

namespace setuvane {
namespace {
constexpr char kClassName[] = "SetuvaneEdit97";
// Room between the border and the text.
constexpr int kInset = 2;
}  // namespace

struct TEdit97::Impl : ControlState {
  HostedEdit edit;

  std::string pendingText;
  TColor color = colors::kWindow;
  TColor colorBorder = 0x8396A0;
  HFONT font = nullptr;
  int maxLength = 0;
  bool focused = false;
  std::function<void()> onChange;

  TColor ActiveBorder() const { return focused ? Darken(ResolveColor(colorBorder), colorBorder, 40) : colorBorder; }

  // Not the painted controls' repaint: the host and the edit are invalidated, both erased.
  void Repaint() const { edit.Invalidate(hwnd); }

  RectI EditRect() const {
    const RectI r = ClientRectOf(hwnd);
    return {r.left + kInset + 1, r.top + kInset + 1, r.right - kInset - 1, r.bottom - kInset};
  }

  void PaintFrame(HDC dc) const {
    const RectI r = ClientRectOf(hwnd);
    FillSolid(dc, r, enabled ? color : colors::kBtnFace);
    FrameEdges(dc, r, ActiveBorder(), ActiveBorder());
  }

  void OnCommand(WPARAM wParam) {
    switch (HIWORD(wParam)) {
      case EN_CHANGE:
        if (onChange) onChange();
        break;
      case EN_SETFOCUS:
      case EN_KILLFOCUS:
        focused = HIWORD(wParam) == EN_SETFOCUS;
        InvalidateRect(hwnd, nullptr, TRUE);
        break;
      default: break;
    }
  }

  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT forwarded = 0;
    if (edit.Forward(msg, wParam, lParam, forwarded)) return forwarded;
    switch (msg) {
      case WM_ERASEBKGND: PaintFrame(reinterpret_cast<HDC>(wParam)); return 1;
      case WM_PRINTCLIENT: PaintFrame(reinterpret_cast<HDC>(wParam)); return 0;
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
        return edit.AnswerColor(reinterpret_cast<HDC>(wParam), enabled ? color : colors::kBtnFace,
                                enabled ? colors::kWindowText : colors::kBtnShadow);
      case WM_COMMAND: OnCommand(wParam); return 0;
      case WM_SIZE:
        if (edit.edit()) {
          const RectI e = EditRect();
          MoveWindow(edit.edit(), e.left, e.top, e.Width(), e.Height(), TRUE);
        }
        return 0;
      case WM_SETFOCUS:
        if (edit.edit()) SetFocus(edit.edit());
        return 0;
      case WM_ENABLE:
        enabled = wParam != 0;
        if (edit.edit()) EnableWindow(edit.edit(), enabled);
        Repaint();
        return 0;
      default: return ui::DefaultProc(hwnd, msg, wParam, lParam);
    }
  }
};

TEdit97::TEdit97() : impl_(std::make_unique<Impl>()) {}

TEdit97::~TEdit97() { impl_->Destroy(); }

bool TEdit97::Create(HWND parent, int x, int y, int width, int height) {
  // The host is never a tab stop itself: the edit is.
  if (!CreateControl(*impl_, kClassName, parent, x, y, width, height, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
                     ui::SystemCursor(IDC_IBEAM))) {
    return false;
  }
  if (!impl_->edit.Create(impl_->hwnd, ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP, impl_->EditRect())) {
    DestroyWindow(impl_->hwnd);
    return false;
  }
  const HWND e = impl_->edit.edit();
  impl_->edit.ApplyFont(impl_->hwnd, impl_->font, false);
  ui::Send(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(1, 1));
  if (impl_->maxLength > 0) ui::Send(e, EM_LIMITTEXT, impl_->maxLength, 0);
  if (!impl_->enabled) EnableWindow(e, FALSE);
  if (!impl_->pendingText.empty()) impl_->edit.SetText(impl_->pendingText);
  return true;
}

HWND TEdit97::Handle() const { return impl_->hwnd; }
HWND TEdit97::EditHandle() const { return impl_->edit.edit(); }

void TEdit97::SetText(std::string_view text) {
  if (!impl_->hwnd) {
    impl_->pendingText = std::string(text);
    return;
  }
  if (impl_->edit.Text() == text) return;  // unchanged text: no change event
  impl_->edit.SetText(text);
}
std::string TEdit97::Text() const { return impl_->hwnd ? impl_->edit.Text() : impl_->pendingText; }

void TEdit97::SetColor(TColor color) {
  impl_->color = color;
  impl_->Repaint();
}
TColor TEdit97::Color() const { return impl_->color; }
void TEdit97::SetColorBorder(TColor color) {
  impl_->colorBorder = color;
  impl_->Repaint();
}
TColor TEdit97::ColorBorder() const { return impl_->colorBorder; }
void TEdit97::SetFont(HFONT font) {
  impl_->font = font;
  impl_->edit.ApplyFont(impl_->hwnd, font, true);
}
void TEdit97::SetMaxLength(int length) {
  impl_->maxLength = length;
  if (impl_->edit.edit()) ui::Send(impl_->edit.edit(), EM_LIMITTEXT, length > 0 ? length : 0, 0);
}
void TEdit97::SetEnabled(bool value) { impl_->SetEnabled(value); }
bool TEdit97::Enabled() const { return impl_->enabled; }
void TEdit97::SetVisible(bool value) { impl_->SetVisible(value); }
bool TEdit97::Visible() const { return impl_->visible; }
void TEdit97::SetOnChange(std::function<void()> handler) { impl_->onChange = std::move(handler); }

}  // namespace setuvane
