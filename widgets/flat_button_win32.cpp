// TFlatButton as a Win32 window: a one-pixel bevel (raised, lowered while pressed)
// around a face with the caption centred on a single line.
#include "widgets/flat_button.h"

#include <windowsx.h>

#include "system/cp1250.h"
#include "widgets/gdi_win32.h"
#include "widgets/mouse_rules.h"
#include "widgets/window_class_win32.h"

namespace setuvane {
namespace {
constexpr wchar_t kClassName[] = L"SetuvaneFlatButton";
}  // namespace

struct TFlatButton::Impl {
  HWND hwnd = nullptr;
  AliveToken alive = MakeAliveToken();

  std::string caption;
  TColor color = colors::kBtnFace;
  HFONT font = nullptr;
  TColor fontColor = colors::kBtnText;
  bool enabled = true, visible = true, tabStop = false;
  HCURSOR cursor = nullptr;
  int tag = 0;
  std::function<void()> onClick;

  bool pressed = false;   // the bevel is lowered
  bool tracking = false;  // the left button went down on this button

  void Detach() {}

  void Repaint() {
    if (!hwnd) return;
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
  }

  void SetPressed(bool value) {
    if (pressed == value) return;
    pressed = value;
    Repaint();
  }

  void Click() {
    if (enabled && onClick) onClick();
  }

  void OnLButtonDown() {
    SetCapture(hwnd);
    if (!enabled) return;
    tracking = true;
    SetPressed(true);
  }

  void OnMouseMove(LPARAM lParam) {
    if (!tracking) return;
    // While held, the bevel shows whether letting go here would click.
    const RectI r = ClientRectOf(hwnd);
    SetPressed(PlainButtonContains(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), r.Width(), r.Height()));
  }

  void OnLButtonUp(LPARAM lParam) {
    const RectI r = ClientRectOf(hwnd);
    // Only a press on this button that is released over it clicks: moving off the
    // button before letting go cancels, as with any push button.
    const bool clicked = tracking && PlainButtonContains(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                                                         r.Width(), r.Height());
    tracking = false;  // before the capture goes, which sends WM_CAPTURECHANGED
    if (GetCapture() == hwnd) ReleaseCapture();
    const AliveToken token = alive;
    if (clicked) Click();
    if (*token) SetPressed(false);
  }

  void OnEnable(bool on) {
    enabled = on;
    fontColor = on ? colors::kBtnText : colors::kBtnShadow;
    if (!on) {
      tracking = false;
      pressed = false;
    }
    Repaint();
  }

  LRESULT OnDialogChar(wchar_t ch) {
    const std::string typed = Utf16ToCp1250(std::u16string(1, static_cast<char16_t>(ch)));
    if (!IsCaptionAccelerator(caption, typed[0])) return 0;
    Click();
    return 1;  // handled even when disabled
  }

  void Paint(HDC target) {
    const RectI r = ClientRectOf(hwnd);
    OffscreenCanvas canvas(target, r.Width(), r.Height());
    const HDC dc = canvas.dc();
    FillSolid(dc, r, color);
    if (pressed) {
      FrameEdges(dc, r, colors::kBtnShadow, colors::kBtnHighlight);
    } else {
      FrameEdges(dc, r, colors::kBtnHighlight, colors::kBtnShadow);
    }
    SelectScope fontScope(dc, EffectiveFont(hwnd, font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ResolveColor(fontColor));
    DrawTextCp1250(dc, caption, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1},
                   DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }

  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
      case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        Paint(ps.hdc);
        EndPaint(hwnd, &ps);
        return 0;
      }
      case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
      case WM_ERASEBKGND: return 1;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: OnLButtonDown(); return 0;
      case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
      case WM_LBUTTONUP: OnLButtonUp(lParam); return 0;
      case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) {
          tracking = false;
          SetPressed(false);
        }
        return 0;
      case WM_ENABLE: OnEnable(wParam != 0); return 0;
      case WM_SETCURSOR:
        if (cursor && LOWORD(lParam) == HTCLIENT) {
          ::SetCursor(cursor);
          return TRUE;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
      case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        caption = lParam ? Utf16ToCp1250(reinterpret_cast<const char16_t*>(lParam)) : std::string();
        Repaint();
        return result;
      }
      case WM_SETFONT:
        font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) Repaint();
        return 0;
      case WM_GETFONT: return reinterpret_cast<LRESULT>(EffectiveFont(hwnd, font));
      case WM_SETUVANE_DIALOGCHAR: return OnDialogChar(static_cast<wchar_t>(wParam));
      default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
  }
};

TFlatButton::TFlatButton(std::string_view name) : impl_(std::make_unique<Impl>()) {
  impl_->caption = std::string(name);
}

TFlatButton::~TFlatButton() {
  *impl_->alive = false;
  if (impl_->hwnd) DestroyWindow(impl_->hwnd);
}

bool TFlatButton::Create(HWND parent, int x, int y, int width, int height) {
  RegisterClassOnce(kClassName, &ControlWindowProc<Impl>);
  DWORD style = 0;
  if (impl_->visible) style |= WS_VISIBLE;
  if (impl_->tabStop) style |= WS_TABSTOP;
  if (!impl_->enabled) style |= WS_DISABLED;
  if (!CreateControlWindow(kClassName, style, 0, parent, x, y, width, height, impl_.get())) return false;
  const std::u16string text = Cp1250ToUtf16(impl_->caption);
  SetWindowTextW(impl_->hwnd, reinterpret_cast<LPCWSTR>(text.c_str()));
  return true;
}

HWND TFlatButton::Handle() const { return impl_->hwnd; }

void TFlatButton::SetCaption(std::string_view caption) {
  if (impl_->hwnd) {
    const std::u16string text = Cp1250ToUtf16(caption);
    SetWindowTextW(impl_->hwnd, reinterpret_cast<LPCWSTR>(text.c_str()));
  } else {
    impl_->caption = std::string(caption);
  }
}
const std::string& TFlatButton::Caption() const { return impl_->caption; }

void TFlatButton::SetColor(TColor color) {
  impl_->color = color;
  impl_->Repaint();
}
TColor TFlatButton::Color() const { return impl_->color; }
void TFlatButton::SetFont(HFONT font) {
  impl_->font = font;
  impl_->Repaint();
}
TColor TFlatButton::FontColor() const { return impl_->fontColor; }

void TFlatButton::SetEnabled(bool value) {
  if (impl_->hwnd) {
    EnableWindow(impl_->hwnd, value);
  } else {
    impl_->enabled = value;
    impl_->fontColor = value ? colors::kBtnText : colors::kBtnShadow;
  }
}
bool TFlatButton::Enabled() const { return impl_->enabled; }
void TFlatButton::SetVisible(bool value) {
  impl_->visible = value;
  if (impl_->hwnd) ShowWindow(impl_->hwnd, value ? SW_SHOWNA : SW_HIDE);
}
bool TFlatButton::Visible() const { return impl_->visible; }
void TFlatButton::SetTabStop(bool value) {
  impl_->tabStop = value;
  if (!impl_->hwnd) return;
  LONG_PTR style = GetWindowLongPtrW(impl_->hwnd, GWL_STYLE);
  style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  SetWindowLongPtrW(impl_->hwnd, GWL_STYLE, style);
}
void TFlatButton::SetCursor(HCURSOR cursor) { impl_->cursor = cursor; }
void TFlatButton::SetTag(int tag) { impl_->tag = tag; }
int TFlatButton::Tag() const { return impl_->tag; }
void TFlatButton::SetOnClick(std::function<void()> handler) { impl_->onClick = std::move(handler); }
void TFlatButton::Click() { impl_->Click(); }
bool TFlatButton::Pressed() const { return impl_->pressed; }

}  // namespace setuvane
