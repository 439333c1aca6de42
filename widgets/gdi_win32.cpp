#include "widgets/gdi_win32.h"

#include <optional>

#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {

OffscreenCanvas::OffscreenCanvas(HDC target, int width, int height)
    : target_(target), width_(width > 0 ? width : 1), height_(height > 0 ? height : 1),
      memory_(target) {
  bitmap_.Reset(CreateCompatibleBitmap(target, width_, height_));
  oldBitmap_ = SelectObject(memory_.get(), bitmap_.get());
}

OffscreenCanvas::~OffscreenCanvas() {
  BitBlt(target_, 0, 0, width_, height_, memory_.get(), 0, 0, SRCCOPY);
  SelectObject(memory_.get(), oldBitmap_);
}

COLORREF ResolveColor(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(SystemColorIndex(color));
  return color & 0x00FFFFFFu;
}

namespace {

std::optional<TColor> SolidBrushColour(HBRUSH brush) {
  LOGBRUSH lb{};
  if (brush && ui::ObjectInfo(brush, sizeof lb, &lb) == sizeof lb && lb.lbStyle == BS_SOLID) return lb.lbColor;
  return std::nullopt;
}

}  // namespace

TColor ParentBackground(HWND hwnd) {
  HWND parent = hwnd ? GetParent(hwnd) : nullptr;
  if (!parent) return colors::kBtnFace;
  // The parent's class brush is what its background is erased with; a class brush
  // may be given as a system colour index plus one.
  const auto classBrush = ui::ClassLong(parent, GCLP_HBRBACKGROUND);
  if (classBrush != 0 && classBrush <= COLOR_MENUBAR + 1) return SystemColor(static_cast<int>(classBrush) - 1);
  if (auto colour = SolidBrushColour(reinterpret_cast<HBRUSH>(classBrush))) return *colour;
  // A parent that paints its own background tells its children through the
  // colour request that static controls send.
  MemoryDC probe;
  const auto answer = ui::Send(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(probe.get()),
                                   reinterpret_cast<LPARAM>(hwnd));
  if (auto colour = SolidBrushColour(reinterpret_cast<HBRUSH>(answer))) return *colour;
  return colors::kBtnFace;
}

RectI ClientRectOf(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return FromRect(r);
}

void FillSolid(HDC dc, const RectI& rect, TColor color) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(ResolveColor(color)));
  const RECT r = ToRect(rect);
  FillRect(dc, &r, brush.get());
}

void FrameEdges(HDC dc, const RectI& r, TColor topLeft, TColor bottomRight) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  FillSolid(dc, {r.left, r.top, r.right, r.top + 1}, topLeft);
  FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
  FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

int DrawTextUtf8(HDC dc, std::string_view text, RectI rect, UINT format) {
  RECT r = ToRect(rect);
  return ui::DrawTextUtf8(dc, text, r, format);
}

void DrawCaptionText(HDC dc, std::string_view text, const RectI& rect, UINT format, bool enabled, TColor color) {
  SetBkMode(dc, TRANSPARENT);
  if (enabled) {
    SetTextColor(dc, ResolveColor(color));
    DrawTextUtf8(dc, text, rect, format);
  } else {
    SetTextColor(dc, ResolveColor(colors::kBtnHighlight));
    DrawTextUtf8(dc, text, rect.Offset(1, 1), format);
    SetTextColor(dc, ResolveColor(colors::kBtnShadow));
    DrawTextUtf8(dc, text, rect, format);
  }
}

namespace {

// The size DrawText gives the text within `width` in `format`.
SizeI Measured(HDC dc, std::string_view text, int width, UINT format) {
  if (text.empty()) return {};
  RECT r{0, 0, width, 0};
  ui::DrawTextUtf8(dc, text, r, DT_CALCRECT | format);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

SizeI MeasureSingleLine(HDC dc, std::string_view text, int width) { return Measured(dc, text, width, DT_SINGLELINE); }

SizeI MeasureWrapped(HDC dc, std::string_view text, int width) { return Measured(dc, text, width, DT_WORDBREAK); }

GdiObject<HFONT> CreateUiFont(const char* family, int weight, BYTE charset) {
  return GdiObject<HFONT>(ui::NewFont(family, -11, weight, charset));
}

GdiObject<HFONT> CreateTahoma(bool bold) {
  return CreateUiFont("Tahoma", bold ? FW_BOLD : FW_NORMAL, EASTEUROPE_CHARSET);
}

HFONT DefaultControlFont() {
  // Kept for the life of the process: every control shares it.
  static const GdiObject<HFONT> font = CreateTahoma();
  return font.get();
}

HFONT EffectiveFont(HWND hwnd, HFONT own) {
  if (own) return own;
  if (HWND parent = hwnd ? GetParent(hwnd) : nullptr) {
    if (auto font = reinterpret_cast<HFONT>(ui::Send(parent, WM_GETFONT, 0, 0))) return font;
  }
  return DefaultControlFont();
}

}  // namespace setuvane
