#include "widgets/glyph_win32.h"

#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

// Destination kept where the (mono) source is black, the brush where it is white.
constexpr DWORD kRopBrushWhereSourceWhite = 0x00E20746;

// A one-bit mask of `image`: white where the pixel has `colour`, black elsewhere.
GdiObject<HBITMAP> MaskOf(HBITMAP image, int width, int height, COLORREF colour) {
  GdiObject<HBITMAP> mask(CreateBitmap(width, height, 1, 1, nullptr));
  MemoryDC src, dst;
  SelectScope s(src.get(), image);
  SelectScope d(dst.get(), mask.get());
  SetBkColor(src.get(), colour);
  BitBlt(dst.get(), 0, 0, width, height, src.get(), 0, 0, SRCCOPY);
  return mask;
}

}  // namespace

SizeI BitmapSize(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !ui::ObjectInfo(bitmap, sizeof bm, &bm)) return {};
  return {bm.bmWidth, bm.bmHeight};
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
  MemoryDC dc;
  SelectScope s(dc.get(), bitmap);
  return GetPixel(dc.get(), x, y);
}

GdiObject<HBITMAP> CopyBitmap(HBITMAP source) {
  const SizeI size = BitmapSize(source);
  if (size.cx <= 0 || size.cy <= 0) return {};
  return SliceBitmap(source, 0, size.cx, size.cy);
}

GdiObject<HBITMAP> SliceBitmap(HBITMAP source, int left, int width, int height) {
  ScreenDC screen;
  GdiObject<HBITMAP> slice(CreateCompatibleBitmap(screen.get(), width, height));
  MemoryDC src(screen.get()), dst(screen.get());
  SelectScope s(src.get(), source);
  SelectScope d(dst.get(), slice.get());
  BitBlt(dst.get(), 0, 0, width, height, src.get(), left, 0, SRCCOPY);
  return slice;
}

GdiObject<HBITMAP> EmbossedGlyph(HBITMAP image, int width, int height) {
  // Black is the outline colour: it becomes the white part of the mask.
  GdiObject<HBITMAP> mask = MaskOf(image, width, height, RGB(0, 0, 0));
  ScreenDC screen;
  GdiObject<HBITMAP> result(CreateCompatibleBitmap(screen.get(), width, height));
  MemoryDC dst(screen.get()), src(screen.get());
  SelectScope d(dst.get(), result.get());
  SelectScope s(src.get(), mask.get());
  FillSolid(dst.get(), {0, 0, width, height}, colors::kBtnFace);
  SetTextColor(dst.get(), RGB(0, 0, 0));
  SetBkColor(dst.get(), RGB(255, 255, 255));
  {
    GdiObject<HBRUSH> light(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
    SelectScope b(dst.get(), light.get());
    BitBlt(dst.get(), 1, 1, width, height, src.get(), 0, 0, kRopBrushWhereSourceWhite);
  }
  {
    GdiObject<HBRUSH> dark(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
    SelectScope b(dst.get(), dark.get());
    BitBlt(dst.get(), 0, 0, width, height, src.get(), 0, 0, kRopBrushWhereSourceWhite);
  }
  return result;
}

void DrawTransparent(HDC dc, int x, int y, HBITMAP image, int width, int height, COLORREF transparent) {
  GdiObject<HBITMAP> mask = MaskOf(image, width, height, transparent);
  MemoryDC src(dc), maskDc(dc);
  SelectScope s(src.get(), image);
  SelectScope m(maskDc.get(), mask.get());
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  // dst ^= img; dst &= mask (transparent parts 1); dst ^= img: opaque pixels end as
  // the image, transparent ones as the destination.
  BitBlt(dc, x, y, width, height, src.get(), 0, 0, SRCINVERT);
  BitBlt(dc, x, y, width, height, maskDc.get(), 0, 0, SRCAND);
  BitBlt(dc, x, y, width, height, src.get(), 0, 0, SRCINVERT);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
}

}  // namespace setuvane
