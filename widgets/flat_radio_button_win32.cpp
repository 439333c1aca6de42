// TFlatRadioButton as a Win32 window: background, circle, dot and word-wrapped
// caption on one off-screen canvas. Changes that only touch the circle (hover,
// press, focus, check) invalidate the circle alone.
#include "widgets/flat_radio_button.h"

#include <windowsx.h>

#include "widgets/control_base_win32.h"
#include "widgets/gdi_win32.h"
#include "widgets/mouse_rules.h"

namespace setuvane {
namespace {
constexpr char kClassName[] = "SetuvaneFlatRadioButton";
}  // namespace

struct TFlatRadioButton::Impl final : HoverCaptionState {
  Impl() : HoverCaptionState(RadioButtonHover()) {}

  bool checked = false;
  int groupIndex = 0;
  TRadioLayout layout = radioLeft;
  TColor color = colors::kBtnFace;
  bool parentColor = true;
  TColor colorFocused = 0xFFFFFF, colorDown = 0xC5D6D9, colorDot = 0x000000, colorBorder = 0x8396A0;
  AdvPercents adv{10, 10, 50};
  bool useAdvColors = false;
  TColor fontColor = colors::kWindowText;
  std::function<void()> onClick;

  bool pressed = false, focused = false;

  void LoseHover() override {
    if (!enabled || !hover || pressed) return;
    hover = false;
    StopHover();
    RedrawCircle();
  }

  TColor Background() const { return parentColor ? ParentBackground(hwnd) : color; }

  void RedrawCircle() {
    if (!hwnd) return;
    // One pixel of slack around the circle for the pen.
    const RectI c = RadioCircle(ClientRectOf(hwnd), layout);
    const RECT r = ToRect({c.left - 1, c.top - 1, c.right + 1, c.bottom + 1});
    InvalidateRect(hwnd, &r, FALSE);
    UpdateWindow(hwnd);
  }

  void RecomputeAdvColors() {
    if (!useAdvColors) return;
    const AdvColors d =
        DeriveAdvColors(ResolveColor(Background()), {colorFocused, colorDown, colorBorder}, adv);
    colorFocused = d.focused;
    colorDown = d.down;
    colorBorder = d.border;
  }

  void SetChecked(bool value) {
    if (checked == value) return;
    SetTabStop(value);
    checked = value;
    const AliveToken token = alive;
    if (value) {
      UncheckGroup();
      if (onClick) onClick();
    }
    if (*token) RedrawCircle();
  }

  void UncheckGroup() {
    ForEachSiblingOfClass<Impl>(hwnd, kClassName, [this](Impl& other) {
      if (other.groupIndex == groupIndex) other.SetChecked(false);
    });
  }

  // --- message handlers
  void OnLButtonDown() {
    SetCapture(hwnd);
    if (!enabled) return;
    SetFocus(hwnd);
    pressed = true;
    RedrawCircle();
  }

  void OnLButtonUp(LPARAM lParam) {
    if (GetCapture() == hwnd) ReleaseCapture();
    if (!enabled) return;
    pressed = false;
    const RectI r = ClientRectOf(hwnd);
    const AliveToken token = alive;
    if (RadioButtonContains(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), r.Width(), r.Height()) && !checked) {
      SetChecked(true);
    }
    if (*token) RedrawCircle();
  }

  void OnMouseMove(LPARAM lParam) {
    if (TakeHover(lParam)) RedrawCircle();
  }

  void OnSetFocus() {
    if (!enabled) return;
    // Entering with the mouse held over the button checks it.
    if (pressed && hover) SetChecked(true);
    focused = true;
    RedrawCircle();
  }

  void OnKillFocus() {
    if (!enabled) return;
    hover = false;
    focused = false;
    RedrawCircle();
  }

  void OnEnable(bool on) {
    enabled = on;
    if (!on) {
      hover = false;
      pressed = false;
      StopHover();
    }
    Repaint();
  }

  LRESULT OnDialogChar(wchar_t ch) {
    if (!IsAccelerator(ch)) return 0;
    if (!enabled || !IsWindowVisible(hwnd)) return 0;  // cannot take the focus
    SetFocus(hwnd);
    return 1;
  }

  // --- painting
  void PaintCircle(HDC dc, const RectI& client) const {
    const RectI c = RadioCircle(client, layout);
    const TColor inside = (focused || hover) ? (pressed ? colorDown : colorFocused) : Background();
    {
      GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ResolveColor(colorBorder)));
      GdiObject<HBRUSH> brush(CreateSolidBrush(ResolveColor(inside)));
      SelectScope p(dc, pen.get());
      SelectScope b(dc, brush.get());
      Ellipse(dc, c.left, c.top, c.right, c.bottom);
    }
    if (!checked) return;
    const COLORREF dot = ResolveColor(enabled ? colorDot : colors::kBtnShadow);
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, dot));
    GdiObject<HBRUSH> brush(CreateSolidBrush(dot));
    SelectScope p(dc, pen.get());
    SelectScope b(dc, brush.get());
    const RectI d = RadioDot(c);
    Ellipse(dc, d.left, d.top, d.right, d.bottom);
  }

  void PaintCaption(HDC dc, const RectI& client) const {
    const RectI t = RadioText(client, layout);
    const UINT format = DT_WORDBREAK | (layout == radioRight ? DT_RIGHT : DT_LEFT);
    SelectScope fontScope(dc, Font());
    DrawCaptionText(dc, caption, t, format, enabled, fontColor);
  }

  void Paint(HDC target) {
    const RectI r = ClientRectOf(hwnd);
    OffscreenCanvas canvas(target, r.Width(), r.Height());
    FillSolid(canvas.dc(), r, Background());
    PaintCircle(canvas.dc(), r);
    PaintCaption(canvas.dc(), r);
  }

  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandlePaintMessage(hwnd, msg, wParam, result, [this](HDC dc) { Paint(dc); })) return result;
    if (HandleCaptionMessage(msg, wParam, lParam, result)) return result;
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: OnLButtonDown(); return 0;
      case WM_LBUTTONUP: OnLButtonUp(lParam); return 0;
      case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
      case WM_KEYDOWN:
        // With the focus, the space bar checks the button, as with any radio button.
        if (wParam == VK_SPACE && enabled) SetChecked(true);
        return 0;
      case WM_SETFOCUS: OnSetFocus(); return 0;
      case WM_KILLFOCUS: OnKillFocus(); return 0;
      case WM_ENABLE: OnEnable(wParam != 0); return 0;
      case WM_SYSCOLORCHANGE: return OnSysColorChange(*this);
      case WM_SETUVANE_DIALOGCHAR: return OnDialogChar(static_cast<wchar_t>(wParam));
      case WM_DESTROY: Detach(); return 0;
      default: return ui::DefaultProc(hwnd, msg, wParam, lParam);
    }
  }
};

TFlatRadioButton::TFlatRadioButton() : impl_(std::make_unique<Impl>()) {}

TFlatRadioButton::~TFlatRadioButton() { impl_->Destroy(); }

bool TFlatRadioButton::Create(HWND parent, int x, int y, int width, int height) {
  if (!CreateControl(*impl_, kClassName, parent, x, y, width, height)) return false;
  impl_->ApplyCaption();
  impl_->RecomputeAdvColors();
  // Checked before the window existed: the group could not be told then.
  if (impl_->checked) impl_->UncheckGroup();
  return true;
}

HWND TFlatRadioButton::Handle() const { return impl_->hwnd; }

void TFlatRadioButton::SetCaption(std::string_view caption) { impl_->SetCaption(caption); }
const std::string& TFlatRadioButton::Caption() const { return impl_->caption; }

int TFlatRadioButton::FitHeightToCaption() {
  const HWND hwnd = impl_->hwnd;
  if (!hwnd) return 0;
  const RectI client = ClientRectOf(hwnd);
  const RectI text = RadioText(client, impl_->layout);
  ScreenDC screen;
  SelectScope fontScope(screen.get(), impl_->Font());
  const int needed = MeasureWrapped(screen.get(), impl_->caption, text.Width()).cy + (client.Height() - text.Height());
  if (needed <= client.Height()) return client.Height();
  SetWindowPos(hwnd, nullptr, 0, 0, client.Width(), needed, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return needed;
}

void TFlatRadioButton::SetChecked(bool value) { impl_->SetChecked(value); }
bool TFlatRadioButton::Checked() const { return impl_->checked; }
void TFlatRadioButton::SetGroupIndex(int index) { impl_->groupIndex = index; }
int TFlatRadioButton::GroupIndex() const { return impl_->groupIndex; }
void TFlatRadioButton::SetLayout(TRadioLayout layout) {
  impl_->layout = layout;
  impl_->Repaint();
}
TRadioLayout TFlatRadioButton::Layout() const { return impl_->layout; }

namespace {
void StoreColor(TFlatRadioButton::Impl& impl, TColor& field, TColor value) {
  field = value;
  impl.Repaint();
}
void StorePercent(TFlatRadioButton::Impl& impl, int& field, int value) {
  field = ClampPercent(value);
  impl.RecomputeAdvColors();
  impl.Repaint();
}
}  // namespace

void TFlatRadioButton::SetColor(TColor color) {
  impl_->parentColor = false;
  StoreColor(*impl_, impl_->color, color);
}
TColor TFlatRadioButton::Color() const { return impl_->Background(); }
void TFlatRadioButton::SetParentColor(bool value) {
  impl_->parentColor = value;
  impl_->Repaint();
}
bool TFlatRadioButton::ParentColor() const { return impl_->parentColor; }
void TFlatRadioButton::SetColorFocused(TColor c) { StoreColor(*impl_, impl_->colorFocused, c); }
TColor TFlatRadioButton::ColorFocused() const { return impl_->colorFocused; }
void TFlatRadioButton::SetColorDown(TColor c) { StoreColor(*impl_, impl_->colorDown, c); }
TColor TFlatRadioButton::ColorDown() const { return impl_->colorDown; }
void TFlatRadioButton::SetColorDot(TColor c) { StoreColor(*impl_, impl_->colorDot, c); }
TColor TFlatRadioButton::ColorDot() const { return impl_->colorDot; }
void TFlatRadioButton::SetColorBorder(TColor c) { StoreColor(*impl_, impl_->colorBorder, c); }
TColor TFlatRadioButton::ColorBorder() const { return impl_->colorBorder; }
void TFlatRadioButton::SetAdvColorFocused(int p) { StorePercent(*impl_, impl_->adv.focused, p); }
int TFlatRadioButton::AdvColorFocused() const { return impl_->adv.focused; }
void TFlatRadioButton::SetAdvColorDown(int p) { StorePercent(*impl_, impl_->adv.down, p); }
int TFlatRadioButton::AdvColorDown() const { return impl_->adv.down; }
void TFlatRadioButton::SetAdvColorBorder(int p) { StorePercent(*impl_, impl_->adv.border, p); }
int TFlatRadioButton::AdvColorBorder() const { return impl_->adv.border; }
void TFlatRadioButton::SetUseAdvColors(bool value) { ChangeUseAdvColors(*impl_, value); }
bool TFlatRadioButton::UseAdvColors() const { return impl_->useAdvColors; }

void TFlatRadioButton::SetFont(HFONT font) { impl_->SetFont(font); }
void TFlatRadioButton::SetFontColor(TColor color) { StoreColor(*impl_, impl_->fontColor, color); }
TColor TFlatRadioButton::FontColor() const { return impl_->fontColor; }

void TFlatRadioButton::SetEnabled(bool value) { impl_->SetEnabled(value); }
bool TFlatRadioButton::Enabled() const { return impl_->enabled; }
void TFlatRadioButton::SetVisible(bool value) { impl_->SetVisible(value); }
bool TFlatRadioButton::Visible() const { return impl_->visible; }
void TFlatRadioButton::SetTabStop(bool value) { impl_->SetTabStop(value); }
bool TFlatRadioButton::TabStop() const { return impl_->tabStop; }
void TFlatRadioButton::SetOnClick(std::function<void()> handler) { impl_->onClick = std::move(handler); }
bool TFlatRadioButton::Hovered() const { return impl_->hover; }
bool TFlatRadioButton::Focused() const { return impl_->focused; }

}  // namespace setuvane
