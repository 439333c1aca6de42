// RAII for the GDI objects a paint creates, the off-screen canvas every control
// paints into, and the small drawing helpers the controls share.
#pragma once

#include <windows.h>

#include <string_view>
#include <utility>

#include "widgets/colors.h"
#include "widgets/geometry.h"

namespace setuvane {

// Owns a pen, brush, font or bitmap and deletes it.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle h) : h_(h) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      h_ = std::exchange(other.h_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(Handle h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }

 private:
  Handle h_ = nullptr;
};

// Selects an object into a DC and puts the previous one back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectScope() { SelectObject(dc_, old_); }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory DC compatible with `reference` (the screen when null).
class MemoryDC {
 public:
  explicit MemoryDC(HDC reference = nullptr) : dc_(CreateCompatibleDC(reference)) {}
  ~MemoryDC() { if (dc_) DeleteDC(dc_); }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// The screen DC, for creating compatible bitmaps outside a paint.
class ScreenDC {
 public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() { ReleaseDC(nullptr, dc_); }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// An off-screen picture of the client size. Painting goes into dc(); the
// destructor copies the whole picture onto the target in one BitBlt, so the
// window never shows a half-drawn face.
class OffscreenCanvas {
 public:
  OffscreenCanvas(HDC target, int width, int height);
  ~OffscreenCanvas();
  OffscreenCanvas(const OffscreenCanvas&) = delete;
  OffscreenCanvas& operator=(const OffscreenCanvas&) = delete;
  HDC dc() const { return memory_.get(); }

 private:
  HDC target_;
  int width_, height_;
  MemoryDC memory_;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ oldBitmap_ = nullptr;
};

// System colours resolved through GetSysColor; plain colours unchanged.
COLORREF ResolveColor(TColor color);

// The background colour of `hwnd`'s parent: its window-class brush (a system colour
// or a solid brush), else the solid brush it answers to WM_CTLCOLORSTATIC, else the
// button face.
TColor ParentBackground(HWND hwnd);

inline RECT ToRect(const RectI& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RectI FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RectI ClientRectOf(HWND hwnd);

void FillSolid(HDC dc, const RectI& rect, TColor color);
// A one-pixel frame: top and left in `topLeft`, bottom and right in `bottomRight`.
void FrameEdges(HDC dc, const RectI& rect, TColor topLeft, TColor bottomRight);

// UTF-8 text (see wide_or_ansi_win32.h), so Polish shows whatever the code page.
int DrawTextUtf8(HDC dc, std::string_view text, RectI rect, UINT format);
// A caption on a transparent background: in `color`, or, when disabled, engraved
// (the highlight colour one pixel down and right, the shadow colour over it).
void DrawCaptionText(HDC dc, std::string_view text, const RectI& rect, UINT format, bool enabled, TColor color);
// Size of a single-line caption measured from (0, 0, width, 0); (0, 0) when empty.
SizeI MeasureSingleLine(HDC dc, std::string_view text, int width);
// Size of a text wrapped at word boundaries within `width`; (0, 0) when empty.
SizeI MeasureWrapped(HDC dc, std::string_view text, int width);

// An 8-point font (height -11) of the family, weight and character set.
GdiObject<HFONT> CreateUiFont(const char* family, int weight, BYTE charset);
// "Tahoma" 8 pt, East European: the font of the installer's windows.
GdiObject<HFONT> CreateTahoma(bool bold = false);
// The normal Tahoma, created once and shared by every control.
HFONT DefaultControlFont();
// The font a control draws with: its own, else its parent's, else the default.
HFONT EffectiveFont(HWND hwnd, HFONT own);

}  // namespace setuvane
