// TToolbarButton97 as a Win32 window: flat face with no border at rest, a raised
// one-pixel frame while hovered, a sunken one while pressed; glyph beside the
// caption (embossed when disabled). Hover uses the shared 100 ms timer scheme.
#include "widgets/toolbar_button97.h"

#include <windowsx.h>

#include "widgets/control_base_win32.h"
#include "widgets/gdi_win32.h"
#include "widgets/glyph_win32.h"
#include "widgets/mouse_rules.h"
#include "widgets/tooltip_win32.h"

namespace setuvane {
namespace {
constexpr char kClassName[] = "SetuvaneToolbarButton97";
}  // namespace

struct TToolbarButton97::Impl final : HoverCaptionState {
  Impl() : HoverCaptionState(ToolbarButtonHover()) {}

  std::string hint;
  GdiObject<HBITMAP> glyph;
  ButtonLayout layout = ButtonLayout::GlyphLeft;
  TColor color = colors::kBtnFace;
  bool parentColor = true;
  TColor fontColor = colors::kBtnText;
  bool handCursor = false;
  std::function<void()> onClick;

  bool pressed = false, tracking = false;
  HWND tooltip = nullptr;

  void LoseHover() override {
    if (!hover || tracking) return;
    hover = false;
    StopHover();
    Repaint();
  }
  void Detach() {
    StopHover();
    if (tooltip) DestroyWindow(tooltip);
    tooltip = nullptr;
  }

  TColor Face() const { return parentColor ? ParentBackground(hwnd) : color; }

  void UpdateTooltip() {
    if (!hwnd) return;
    if (hint.empty()) {
      if (tooltip) DestroyWindow(tooltip);
      tooltip = nullptr;
    } else if (tooltip) {
      SetTooltipText(tooltip, hwnd, hint);
    } else {
      tooltip = CreateTooltipFor(hwnd, hint);
    }
  }

  void Click() {
    if (enabled && onClick) onClick();
  }

  void OnLButtonDown() {
    SetCapture(hwnd);
    if (!enabled) return;
    tracking = true;
    pressed = true;
    Repaint();
  }

  void OnMouseMove(LPARAM lParam) {
    if (TakeHover(lParam)) Repaint();
    if (!tracking) return;
    const RectI r = ClientRectOf(hwnd);
    const bool inside = PlainButtonContains(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), r.Width(), r.Height());
    if (inside != pressed) {
      pressed = inside;
      Repaint();
    }
  }

  void OnLButtonUp(LPARAM lParam) {
    const RectI r = ClientRectOf(hwnd);
    const bool clicked =
        tracking && PlainButtonContains(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), r.Width(), r.Height());
    tracking = false;  // before the capture goes, which sends WM_CAPTURECHANGED
    pressed = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    Repaint();
    const AliveToken token = alive;
    if (clicked) Click();
    if (*token) LoseHoverUnlessOver();
  }

  void LoseHoverUnlessOver() {
    if (hwnd && !CursorIsOver(hwnd)) LoseHover();
  }

  void OnEnable(bool on) {
    enabled = on;
    if (!on) {
      hover = pressed = tracking = false;
      StopHover();
    }
    Repaint();
  }

  void PaintContent(HDC dc, const RectI& client) const {
    SelectScope fontScope(dc, Font());
    const SizeI gs = BitmapSize(glyph.get());
    GlyphLayoutInput in;
    in.client = client;
    in.offset = pressed ? PointI{1, 1} : PointI{0, 0};
    in.caption = MeasureSingleLine(dc, caption, client.Width());
    in.glyph = gs;
    in.layout = layout;
    const GlyphLayoutResult at = LayoutGlyphAndCaption(in);
    if (glyph) {
      if (enabled) {
        DrawTransparent(dc, at.glyph.x, at.glyph.y, glyph.get(), gs.cx, gs.cy,
                        BitmapPixel(glyph.get(), 0, gs.cy - 1));
      } else {
        GdiObject<HBITMAP> grey = EmbossedGlyph(glyph.get(), gs.cx, gs.cy);
        DrawTransparent(dc, at.glyph.x, at.glyph.y, grey.get(), gs.cx, gs.cy, BitmapPixel(grey.get(), 0, gs.cy - 1));
      }
    }
    if (caption.empty()) return;
    // Not clipped to the measured rectangle: some systems draw a text a little wider
    // than they measure it, and the last character would be cut.
    DrawCaptionText(dc, caption, at.caption, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP, enabled, fontColor);
  }

  void Paint(HDC target) {
    const RectI r = ClientRectOf(hwnd);
    OffscreenCanvas canvas(target, r.Width(), r.Height());
    const HDC dc = canvas.dc();
    FillSolid(dc, r, Face());
    if (pressed) {
      FrameEdges(dc, r, colors::kBtnShadow, colors::kBtnHighlight);
    } else if (hover && enabled) {
      FrameEdges(dc, r, colors::kBtnHighlight, colors::kBtnShadow);
    }
    PaintContent(dc, r);
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
        if (reinterpret_cast<HWND>(lParam) != hwnd && tracking) {
          tracking = pressed = false;
          Repaint();
        }
        return 0;
      case WM_ENABLE: OnEnable(wParam != 0); return 0;
      case WM_SETCURSOR:
        if (handCursor && LOWORD(lParam) == HTCLIENT) {
          // The hand cursor is missing on the oldest systems: the arrow then.
          HCURSOR hand = ui::SystemCursor(IDC_HAND);
          ::SetCursor(hand ? hand : ui::SystemCursor(IDC_ARROW));
          return TRUE;
        }
        return ui::DefaultProc(hwnd, msg, wParam, lParam);
      case WM_DESTROY: Detach(); return 0;
      default: return ui::DefaultProc(hwnd, msg, wParam, lParam);
    }
  }
};

TToolbarButton97::TToolbarButton97() : impl_(std::make_unique<Impl>()) {}

TToolbarButton97::~TToolbarButton97() { impl_->Destroy(); }

bool TToolbarButton97::Create(HWND parent, int x, int y, int width, int height) {
  // Never a tab stop: tabStop keeps its default.
  if (!CreateControl(*impl_, kClassName, parent, x, y, width, height)) return false;
  impl_->ApplyCaption();
  impl_->UpdateTooltip();
  return true;
}

HWND TToolbarButton97::Handle() const { return impl_->hwnd; }

void TToolbarButton97::SetCaption(std::string_view caption) { impl_->SetCaption(caption); }
const std::string& TToolbarButton97::Caption() const { return impl_->caption; }
void TToolbarButton97::SetGlyph(HBITMAP glyph) {
  impl_->glyph = CopyBitmap(glyph);
  impl_->Repaint();
}
void TToolbarButton97::SetLayout(ButtonLayout layout) {
  impl_->layout = layout;
  impl_->Repaint();
}
void TToolbarButton97::SetColor(TColor color) {
  impl_->parentColor = false;
  impl_->color = color;
  impl_->Repaint();
}
TColor TToolbarButton97::Color() const { return impl_->Face(); }
void TToolbarButton97::SetFont(HFONT font) { impl_->SetFont(font); }
void TToolbarButton97::SetFontColor(TColor color) {
  impl_->fontColor = color;
  impl_->Repaint();
}
void TToolbarButton97::SetHandCursor(bool value) { impl_->handCursor = value; }
bool TToolbarButton97::HandCursor() const { return impl_->handCursor; }
void TToolbarButton97::SetHint(std::string_view hint) {
  impl_->hint = std::string(hint);
  impl_->UpdateTooltip();
}
const std::string& TToolbarButton97::Hint() const { return impl_->hint; }
void TToolbarButton97::SetEnabled(bool value) { impl_->SetEnabled(value); }
bool TToolbarButton97::Enabled() const { return impl_->enabled; }
void TToolbarButton97::SetVisible(bool value) { impl_->SetVisible(value); }
bool TToolbarButton97::Visible() const { return impl_->visible; }
void TToolbarButton97::SetOnClick(std::function<void()> handler) { impl_->onClick = std::move(handler); }
void TToolbarButton97::Click() { impl_->Click(); }
bool TToolbarButton97::Hovered() const { return impl_->hover; }
bool TToolbarButton97::Pressed() const { return impl_->pressed; }
bool TToolbarButton97::HasTooltip() const { return impl_->tooltip != nullptr; }

}  // namespace setuvane
