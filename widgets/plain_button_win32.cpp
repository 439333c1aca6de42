// TPlainButton as a Win32 window. The window procedure is a thin switch over named
// handlers; painting goes through one off-screen canvas: frame, face, glyph, caption.
#include "widgets/plain_button.h"

#include <windowsx.h>

#include "widgets/control_base_win32.h"
#include "widgets/gdi_win32.h"
#include "widgets/glyph_win32.h"
#include "widgets/mouse_rules.h"

namespace setuvane {
namespace {
constexpr char kClassName[] = "SetuvanePlainButton";
}  // namespace

struct TPlainButton::Impl final : HoverCaptionState {
  Impl() : HoverCaptionState(PlainButtonHover()) {}

  TColor color = colors::kBtnFace;
  bool parentColor = true;
  TColor colorFocused = 0xE1EAEB, colorDown = 0xC5D6D9, colorBorder = 0x8396A0;
  TColor colorHighLight = 0xFFFFFF, colorShadow = 0x000000;
  AdvPercents adv{10, 10, 50};
  bool useAdvColors = false;
  int groupIndex = 0;
  bool down = false, allowAllUp = false;
  GdiObject<HBITMAP> glyph;
  int numGlyphs = 1;
  ButtonLayout layout = ButtonLayout::GlyphTop;
  int margin = -1, spacing = 4;
  int modalResult = 0;
  TColor fontColor = colors::kWindowText;
  std::function<void()> onClick, onDblClick;

  ButtonState state = ButtonState::Up;
  bool dragging = false;
  GlyphLayoutResult lastLayout;

  // --- HoverClient
  void LoseHover() override {
    if (!enabled || !hover || dragging) return;
    hover = false;
    StopHover();
    Repaint();
  }

  TColor FaceBase() const { return parentColor ? ParentBackground(hwnd) : color; }

  void RecomputeAdvColors() {
    if (!useAdvColors) return;
    const TColor base = ResolveColor(FaceBase());
    const AdvColors d = DeriveAdvColors(base, {colorFocused, colorDown, colorBorder}, adv);
    colorFocused = d.focused;
    colorDown = d.down;
    colorBorder = d.border;
  }

  void ReevaluateHover() {
    if (!enabled || !hwnd) return;
    if (CursorIsOver(hwnd)) {
      hover = true;
      Repaint();
    } else {
      LoseHover();
    }
  }

  // --- group
  void TellGroup() {
    if (groupIndex == 0) return;
    ForEachSiblingOfClass<Impl>(hwnd, kClassName, [this](Impl& other) { other.OnGroupNotice(*this); });
  }

  void OnGroupNotice(const Impl& sender) {
    if (sender.groupIndex != groupIndex) return;
    if (sender.down && down) {
      down = false;
      state = ButtonState::Up;
      Repaint();
    }
    allowAllUp = sender.allowAllUp;
  }

  void SetDown(bool value) {
    if (groupIndex == 0) value = false;
    if (value == down) return;
    if (down && !allowAllUp) return;
    down = value;
    if (value) {
      const bool wasUp = state == ButtonState::Up;
      state = ButtonState::Exclusive;  // before the repaint, which is immediate
      if (wasUp) Repaint();
      TellGroup();
    } else {
      state = ButtonState::Up;
      Repaint();
    }
  }

  // --- click
  // The window at the top of the chain of parents (what GetAncestor's GA_ROOT
  // gives; Windows 95 has no GetAncestor). A child's parent is its window; the
  // first window that is no child is the root.
  static HWND TopLevelWindow(HWND window) {
    while ((GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0) {
      HWND parent = GetParent(window);
      if (!parent) break;
      window = parent;
    }
    return window;
  }

  void Click() {
    const AliveToken token = alive;
    if (hwnd && GetParent(hwnd)) {
      ui::Send(TopLevelWindow(hwnd), WM_SETUVANE_MODALRESULT, static_cast<WPARAM>(modalResult),
                   reinterpret_cast<LPARAM>(hwnd));
    }
    if (*token && onClick) onClick();
  }

  // --- message handlers
  void OnLButtonDown() {
    SetCapture(hwnd);
    if (!enabled) return;
    if (!down) {
      state = ButtonState::Down;
      Repaint();
    }
    dragging = true;
  }

  void OnMouseMove(LPARAM lParam) {
    if (TakeHover(lParam)) Repaint();
    if (!dragging) return;
    const RectI client = ClientRectOf(hwnd);
    const bool inside = PlainButtonContains(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), client.Width(),
                                            client.Height());
    const ButtonState next = down ? ButtonState::Exclusive : inside ? ButtonState::Down : ButtonState::Up;
    if (next != state) {
      state = next;
      Repaint();
    }
  }

  void OnLButtonUp(LPARAM lParam) {
    // Releasing the capture sends WM_CAPTURECHANGED: end the press first.
    const bool wasDragging = dragging;
    dragging = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    if (!wasDragging) return;
    const RectI client = ClientRectOf(hwnd);
    const bool clicked = PlainButtonContains(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), client.Width(),
                                             client.Height());
    if (groupIndex == 0) {
      state = ButtonState::Up;
      hover = false;
      if (clicked) Repaint();
    } else if (clicked) {
      SetDown(!down);
      if (down) Repaint();
    } else {
      if (down) state = ButtonState::Exclusive;
      Repaint();
    }
    const AliveToken token = alive;
    if (clicked) {
      Click();
    } else {
      LoseHover();
    }
    if (*token) ReevaluateHover();
  }

  void OnCaptureLost() {
    // Another window took the mouse in the middle of a press: drop the press.
    if (!dragging) return;
    dragging = false;
    state = down ? ButtonState::Exclusive : ButtonState::Up;
    Repaint();
  }

  void OnEnable(bool on) {
    enabled = on;
    if (!on) {
      hover = false;
      state = ButtonState::Disabled;
      StopHover();
    }
    ReevaluateHover();
    Repaint();
  }

  LRESULT OnDialogChar(wchar_t ch) {
    if (!enabled || !IsAccelerator(ch)) return 0;
    Click();
    return 1;
  }

  // --- painting
  void FixState() {
    if (!enabled) {
      state = ButtonState::Disabled;
      dragging = false;
    } else if (state == ButtonState::Disabled) {
      state = down && groupIndex != 0 ? ButtonState::Exclusive : ButtonState::Up;
    }
  }

  void PaintFrame(HDC dc, RectI& r) const {
    switch (state) {
      case ButtonState::Up:
        if (hover) {
          FrameEdges(dc, r, colorHighLight, colorShadow);
        } else {
          FrameEdges(dc, r, colorBorder, colorBorder);
        }
        break;
      case ButtonState::Disabled:
        FrameEdges(dc, r, colorBorder, colorBorder);
        break;
      case ButtonState::Down:
      case ButtonState::Exclusive:
        FrameEdges(dc, r, colorShadow, colorHighLight);
        break;
    }
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }

  TColor FaceColor() const {
    switch (state) {
      case ButtonState::Up: return hover ? colorFocused : FaceBase();
      case ButtonState::Disabled: return FaceBase();
      case ButtonState::Down: return colorDown;
      case ButtonState::Exclusive: return hover ? colorFocused : colorDown;
    }
    return FaceBase();
  }

  void PaintGlyph(HDC dc) const {
    if (!glyph) return;
    const SizeI size = BitmapSize(glyph.get());
    const int w = size.cx / numGlyphs;
    if (w <= 0 || size.cy <= 0) return;
    COLORREF transparent = BitmapPixel(glyph.get(), 0, size.cy - 1);
    const GlyphColumns cols = GlyphSourceColumns(numGlyphs, state, size.cx);
    GdiObject<HBITMAP> image = SliceBitmap(glyph.get(), cols.left, w, size.cy);
    if (numGlyphs == 1 && state == ButtonState::Disabled) {
      image = EmbossedGlyph(image.get(), w, size.cy);
      transparent = BitmapPixel(image.get(), 0, size.cy - 1);
    }
    DrawTransparent(dc, lastLayout.glyph.x, lastLayout.glyph.y, image.get(), w, size.cy, transparent);
  }

  void PaintCaption(HDC dc) const {
    if (caption.empty()) return;
    // Not clipped to the measured rectangle: some systems draw a text a little wider
    // than they measure it, and the last character would be cut.
    DrawCaptionText(dc, caption, lastLayout.caption, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP,
                    state != ButtonState::Disabled, fontColor);
  }

  void Paint(HDC target) {
    RectI r = ClientRectOf(hwnd);
    OffscreenCanvas canvas(target, r.Width(), r.Height());
    const HDC dc = canvas.dc();
    SelectScope fontScope(dc, Font());

    const bool pressed = state == ButtonState::Down || state == ButtonState::Exclusive;
    GlyphLayoutInput in;
    in.client = r;
    in.offset = pressed ? PointI{1, 1} : PointI{0, 0};
    in.caption = MeasureSingleLine(dc, caption, r.Width());
    const SizeI gs = BitmapSize(glyph.get());
    in.glyph = glyph ? SizeI{gs.cx / numGlyphs, gs.cy} : SizeI{};
    in.layout = layout;
    in.margin = margin;
    in.spacing = spacing;
    lastLayout = LayoutGlyphAndCaption(in);

    FixState();
    PaintFrame(dc, r);
    FillSolid(dc, r, FaceColor());
    PaintGlyph(dc);
    PaintCaption(dc);
  }

  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandlePaintMessage(hwnd, msg, wParam, result, [this](HDC dc) { Paint(dc); })) return result;
    if (HandleCaptionMessage(msg, wParam, lParam, result)) return result;
    switch (msg) {
      case WM_LBUTTONDOWN: OnLButtonDown(); return 0;
      case WM_LBUTTONDBLCLK:
        OnLButtonDown();
        if (down && onDblClick) onDblClick();
        return 0;
      case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
      case WM_LBUTTONUP: OnLButtonUp(lParam); return 0;
      case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) OnCaptureLost();
        return 0;
      case WM_ENABLE: OnEnable(wParam != 0); return 0;
      case WM_SYSCOLORCHANGE: return OnSysColorChange(*this);
      case WM_SETUVANE_DIALOGCHAR: return OnDialogChar(static_cast<wchar_t>(wParam));
      case WM_DESTROY: Detach(); return 0;
      default: return ui::DefaultProc(hwnd, msg, wParam, lParam);
    }
  }
};

TPlainButton::TPlainButton() : impl_(std::make_unique<Impl>()) {}

TPlainButton::~TPlainButton() { impl_->Destroy(); }

bool TPlainButton::Create(HWND parent, int x, int y, int width, int height) {
  if (!CreateControl(*impl_, kClassName, parent, x, y, width, height)) return false;
  if (!impl_->caption.empty()) impl_->ApplyCaption();
  impl_->RecomputeAdvColors();
  if (!impl_->enabled) impl_->state = ButtonState::Disabled;
  return true;
}

HWND TPlainButton::Handle() const { return impl_->hwnd; }

void TPlainButton::SetCaption(std::string_view caption) { impl_->SetCaption(caption); }
const std::string& TPlainButton::Caption() const { return impl_->caption; }

namespace {
// Stores a property and repaints when it changed.
template <class T>
void Assign(TPlainButton::Impl& impl, T& field, T value) {
  if (field == value) return;
  field = value;
  impl.Repaint();
}
}  // namespace

void TPlainButton::SetColor(TColor color) {
  impl_->parentColor = false;
  Assign(*impl_, impl_->color, color);
  impl_->Repaint();
}
TColor TPlainButton::Color() const { return impl_->FaceBase(); }
void TPlainButton::SetParentColor(bool value) {
  impl_->parentColor = value;
  impl_->Repaint();
}
bool TPlainButton::ParentColor() const { return impl_->parentColor; }
void TPlainButton::SetColorFocused(TColor c) { Assign(*impl_, impl_->colorFocused, c); }
TColor TPlainButton::ColorFocused() const { return impl_->colorFocused; }
void TPlainButton::SetColorDown(TColor c) { Assign(*impl_, impl_->colorDown, c); }
TColor TPlainButton::ColorDown() const { return impl_->colorDown; }
void TPlainButton::SetColorBorder(TColor c) { Assign(*impl_, impl_->colorBorder, c); }
TColor TPlainButton::ColorBorder() const { return impl_->colorBorder; }
void TPlainButton::SetColorHighLight(TColor c) { Assign(*impl_, impl_->colorHighLight, c); }
TColor TPlainButton::ColorHighLight() const { return impl_->colorHighLight; }
void TPlainButton::SetColorShadow(TColor c) { Assign(*impl_, impl_->colorShadow, c); }
TColor TPlainButton::ColorShadow() const { return impl_->colorShadow; }

void TPlainButton::SetAdvColorFocused(int percent) {
  impl_->adv.focused = ClampPercent(percent);
  impl_->RecomputeAdvColors();
  impl_->Repaint();
}
int TPlainButton::AdvColorFocused() const { return impl_->adv.focused; }
void TPlainButton::SetAdvColorDown(int percent) {
  impl_->adv.down = ClampPercent(percent);
  impl_->RecomputeAdvColors();
  impl_->Repaint();
}
int TPlainButton::AdvColorDown() const { return impl_->adv.down; }
void TPlainButton::SetAdvColorBorder(int percent) {
  impl_->adv.border = ClampPercent(percent);
  impl_->RecomputeAdvColors();
  impl_->Repaint();
}
int TPlainButton::AdvColorBorder() const { return impl_->adv.border; }
void TPlainButton::SetUseAdvColors(bool value) { ChangeUseAdvColors(*impl_, value); }
bool TPlainButton::UseAdvColors() const { return impl_->useAdvColors; }

void TPlainButton::SetGroupIndex(int index) {
  impl_->groupIndex = index;
  impl_->TellGroup();
}
int TPlainButton::GroupIndex() const { return impl_->groupIndex; }
void TPlainButton::SetDown(bool value) { impl_->SetDown(value); }
bool TPlainButton::Down() const { return impl_->down; }
void TPlainButton::SetAllowAllUp(bool value) {
  impl_->allowAllUp = value;
  impl_->TellGroup();
}
bool TPlainButton::AllowAllUp() const { return impl_->allowAllUp; }

void TPlainButton::SetGlyph(HBITMAP glyph) {
  impl_->glyph = CopyBitmap(glyph);
  const SizeI size = BitmapSize(impl_->glyph.get());
  if (auto count = NumGlyphsForPicture(size.cx, size.cy)) impl_->numGlyphs = *count;
  impl_->Repaint();
}
HBITMAP TPlainButton::Glyph() const { return impl_->glyph.get(); }
void TPlainButton::SetNumGlyphs(int count) {
  if (count < 1) count = 1;
  if (count > 4) count = 4;
  Assign(*impl_, impl_->numGlyphs, count);
}
int TPlainButton::NumGlyphs() const { return impl_->numGlyphs; }
void TPlainButton::SetLayout(ButtonLayout layout) { Assign(*impl_, impl_->layout, layout); }
ButtonLayout TPlainButton::Layout() const { return impl_->layout; }
void TPlainButton::SetMargin(int margin) {
  if (margin >= -1) Assign(*impl_, impl_->margin, margin);
}
int TPlainButton::Margin() const { return impl_->margin; }
void TPlainButton::SetSpacing(int spacing) { Assign(*impl_, impl_->spacing, spacing); }
int TPlainButton::Spacing() const { return impl_->spacing; }

void TPlainButton::SetModalResult(int result) { impl_->modalResult = result; }
int TPlainButton::ModalResult() const { return impl_->modalResult; }

void TPlainButton::SetFont(HFONT font) { impl_->SetFont(font); }
void TPlainButton::SetFontColor(TColor color) { Assign(*impl_, impl_->fontColor, color); }
TColor TPlainButton::FontColor() const { return impl_->fontColor; }

void TPlainButton::SetEnabled(bool value) { impl_->SetEnabled(value); }  // WM_ENABLE does the rest
bool TPlainButton::Enabled() const { return impl_->enabled; }
void TPlainButton::SetVisible(bool value) { impl_->SetVisible(value); }
bool TPlainButton::Visible() const { return impl_->visible; }
void TPlainButton::SetTabStop(bool value) { impl_->SetTabStop(value); }

void TPlainButton::SetOnClick(std::function<void()> handler) { impl_->onClick = std::move(handler); }
void TPlainButton::SetOnDblClick(std::function<void()> handler) { impl_->onDblClick = std::move(handler); }
void TPlainButton::Click() { impl_->Click(); }

ButtonState TPlainButton::State() const { return impl_->state; }
bool TPlainButton::Hovered() const { return impl_->hover; }

}  // namespace setuvane
