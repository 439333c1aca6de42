// TFlatButton as a Win32 window: a one-pixel bevel (raised, lowered while pressed)
// around a face with the caption centred on a single line.
#include "widgets/flat_button.h"

#include <windowsx.h>

#include "widgets/control_base_win32.h"
#include "widgets/gdi_win32.h"
#include "widgets/mouse_rules.h"

namespace setuvane {
namespace {
constexpr char kClassName[] = "SetuvaneFlatButton";
}  // namespace

struct TFlatButton::Impl : CaptionState {
  TColor color = colors::kBtnFace;
  TColor fontColor = colors::kBtnText;
  HCURSOR cursor = nullptr;
  int tag = 0;
  std::function<void()> onClick;

  bool pressed = false;   // the bevel is lowered
  bool tracking = false;  // the left button went down on this button

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
    if (!IsAccelerator(ch)) return 0;
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
    SelectScope fontScope(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ResolveColor(fontColor));
    DrawTextUtf8(dc, caption, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1},
                 DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }

  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandlePaintMessage(hwnd, msg, wParam, result, [this](HDC dc) { Paint(dc); })) return result;
    if (HandleCaptionMessage(msg, wParam, lParam, result)) return result;
    switch (msg) {
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
        if (SetClientCursor(cursor, lParam)) return TRUE;
        return ui::DefaultProc(hwnd, msg, wParam, lParam);
      case WM_SETUVANE_DIALOGCHAR: return OnDialogChar(static_cast<wchar_t>(wParam));
      default: return ui::DefaultProc(hwnd, msg, wParam, lParam);
    }
  }
};

TFlatButton::TFlatButton(std::string_view name) : impl_(std::make_unique<Impl>()) {
  impl_->caption = std::string(name);
}

TFlatButton::~TFlatButton() { impl_->Destroy(); }

bool TFlatButton::Create(HWND parent, int x, int y, int width, int height) {
  if (!CreateControl(*impl_, kClassName, parent, x, y, width, height)) return false;
  impl_->ApplyCaption();
  return true;
}

HWND TFlatButton::Handle() const { return impl_->hwnd; }

void TFlatButton::SetCaption(std::string_view caption) { impl_->SetCaption(caption); }
const std::string& TFlatButton::Caption() const { return impl_->caption; }

void TFlatButton::SetColor(TColor color) {
  impl_->color = color;
  impl_->Repaint();
}
TColor TFlatButton::Color() const { return impl_->color; }
void TFlatButton::SetFont(HFONT font) { impl_->SetFont(font); }
TColor TFlatButton::FontColor() const { return impl_->fontColor; }

void TFlatButton::SetEnabled(bool value) {
  // With a window, WM_ENABLE sets the font colour too.
  if (!impl_->hwnd) impl_->fontColor = value ? colors::kBtnText : colors::kBtnShadow;
  impl_->SetEnabled(value);
}
bool TFlatButton::Enabled() const { return impl_->enabled; }
void TFlatButton::SetVisible(bool value) { impl_->SetVisible(value); }
bool TFlatButton::Visible() const { return impl_->visible; }
void TFlatButton::SetTabStop(bool value) { impl_->SetTabStop(value); }
void TFlatButton::SetCursor(HCURSOR cursor) { impl_->cursor = cursor; }
void TFlatButton::SetTag(int tag) { impl_->tag = tag; }
int TFlatButton::Tag() const { return impl_->tag; }
void TFlatButton::SetOnClick(std::function<void()> handler) { impl_->onClick = std::move(handler); }
void TFlatButton::Click() { impl_->Click(); }
bool TFlatButton::Pressed() const { return impl_->pressed; }

}  // namespace setuvane
