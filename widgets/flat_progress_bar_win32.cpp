// TFlatProgressBar as a Win32 window: background, one-pixel border, then the blocks
// or the smooth bar, all on one off-screen canvas. In block mode the window's
// length along the bar is kept at a whole number of blocks.
#include "widgets/flat_progress_bar.h"

#include "widgets/control_base_win32.h"
#include "widgets/gdi_win32.h"

namespace setuvane {
namespace {
constexpr char kClassName[] = "SetuvaneFlatProgressBar";
}  // namespace

struct TFlatProgressBar::Impl : ControlState {
  TColor color = colors::kBtnFace;
  bool parentColor = true;
  TColor colorElement = 0x996633, colorBorder = 0x8396A0;
  int advColorBorder = 50;
  bool useAdvColors = false;
  TProgressOrientation orientation = pbHorizontal;
  int position = 0, min = 0, max = 100;
  bool smooth = false;

  TColor Background() const { return parentColor ? ParentBackground(hwnd) : color; }

  // Only the border colour follows the background.
  void RecomputeAdvColors() {
    if (useAdvColors) colorBorder = Darken(ResolveColor(Background()), colorBorder, advColorBorder);
  }

  // Sets the current size again, so that block mode snaps it.
  void ApplyBounds() {
    if (!hwnd) return;
    RECT r{};
    GetWindowRect(hwnd, &r);
    SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void OnPosChanging(WINDOWPOS* pos) {
    if (smooth || (pos->flags & SWP_NOSIZE)) return;
    if (orientation == pbHorizontal) {
      pos->cx = SnapBlockBarLength(pos->cx);
    } else {
      pos->cy = SnapBlockBarLength(pos->cy);
    }
  }

  void Paint(HDC target) {
    const RectI r = ClientRectOf(hwnd);
    OffscreenCanvas canvas(target, r.Width(), r.Height());
    const HDC dc = canvas.dc();
    FillSolid(dc, r, Background());
    FrameEdges(dc, r, colorBorder, colorBorder);
    if (smooth) {
      const RectI fill = SmoothFill(r, orientation, position);
      if (fill.Width() > 0 && fill.Height() > 0) FillSolid(dc, fill, colorElement);
    } else {
      for (const RectI& block : ProgressBlocks(r, orientation, position)) FillSolid(dc, block, colorElement);
    }
  }

  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandlePaintMessage(hwnd, msg, wParam, result, [this](HDC dc) { Paint(dc); })) return result;
    switch (msg) {
      case WM_WINDOWPOSCHANGING: OnPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
      case WM_NCHITTEST: return HTTRANSPARENT;  // a graphic control: the mouse goes to the parent
      case WM_SYSCOLORCHANGE: return OnSysColorChange(*this);
      default: return ui::DefaultProc(hwnd, msg, wParam, lParam);
    }
  }
};

TFlatProgressBar::TFlatProgressBar() : impl_(std::make_unique<Impl>()) {}

TFlatProgressBar::~TFlatProgressBar() { impl_->Destroy(); }

bool TFlatProgressBar::Create(HWND parent, int x, int y, int width, int height) {
  // Never disabled nor a tab stop: the bar leaves those properties at their defaults.
  if (!CreateControl(*impl_, kClassName, parent, x, y, width, height)) return false;
  impl_->RecomputeAdvColors();
  impl_->ApplyBounds();
  return true;
}

HWND TFlatProgressBar::Handle() const { return impl_->hwnd; }

void TFlatProgressBar::SetColor(TColor color) {
  impl_->parentColor = false;
  impl_->color = color;
  impl_->Repaint();
}
TColor TFlatProgressBar::Color() const { return impl_->Background(); }
void TFlatProgressBar::SetParentColor(bool value) {
  impl_->parentColor = value;
  impl_->Repaint();
}
bool TFlatProgressBar::ParentColor() const { return impl_->parentColor; }
void TFlatProgressBar::SetColorElement(TColor color) {
  impl_->colorElement = color;
  impl_->Repaint();
}
TColor TFlatProgressBar::ColorElement() const { return impl_->colorElement; }
void TFlatProgressBar::SetColorBorder(TColor color) {
  impl_->colorBorder = color;
  impl_->Repaint();
}
TColor TFlatProgressBar::ColorBorder() const { return impl_->colorBorder; }
void TFlatProgressBar::SetAdvColorBorder(int percent) {
  impl_->advColorBorder = ClampPercent(percent);
  impl_->RecomputeAdvColors();
  impl_->Repaint();
}
int TFlatProgressBar::AdvColorBorder() const { return impl_->advColorBorder; }
void TFlatProgressBar::SetUseAdvColors(bool value) { ChangeUseAdvColors(*impl_, value); }
bool TFlatProgressBar::UseAdvColors() const { return impl_->useAdvColors; }

void TFlatProgressBar::SetOrientation(TProgressOrientation orientation) {
  if (impl_->orientation == orientation) return;
  impl_->orientation = orientation;
  impl_->ApplyBounds();
  impl_->Repaint();
}
TProgressOrientation TFlatProgressBar::Orientation() const { return impl_->orientation; }

namespace {
void StoreAndRepaint(TFlatProgressBar::Impl& impl, int& field, int value) {
  if (field == value) return;
  field = value;
  impl.Repaint();
}
}  // namespace

void TFlatProgressBar::SetPosition(int position) { StoreAndRepaint(*impl_, impl_->position, position); }
int TFlatProgressBar::Position() const { return impl_->position; }
void TFlatProgressBar::SetMin(int value) { StoreAndRepaint(*impl_, impl_->min, value); }
int TFlatProgressBar::Min() const { return impl_->min; }
void TFlatProgressBar::SetMax(int value) { StoreAndRepaint(*impl_, impl_->max, value); }
int TFlatProgressBar::Max() const { return impl_->max; }
void TFlatProgressBar::SetSmooth(bool value) {
  if (impl_->smooth == value) return;
  impl_->smooth = value;
  impl_->ApplyBounds();
  impl_->Repaint();
}
bool TFlatProgressBar::Smooth() const { return impl_->smooth; }
void TFlatProgressBar::SetVisible(bool value) { impl_->SetVisible(value); }
bool TFlatProgressBar::Visible() const { return impl_->visible; }

}  // namespace setuvane
