#include "dialogs/artwork_win32.h"

#include <algorithm>

#include "widgets/glyph_win32.h"

namespace setuvane {

GdiObject<HBITMAP> LoadArtwork(int id) {
  return GdiObject<HBITMAP>(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0)));
}

COLORREF BottomLeftColour(HBITMAP bitmap) {
  return BitmapPixel(bitmap, 0, BitmapSize(bitmap).cy - 1);
}

void DrawKeyedBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap) {
  const SizeI size = BitmapSize(bitmap);
  width = std::min(width, size.cx);
  height = std::min(height, size.cy);
  if (width <= 0 || height <= 0) return;
  DrawTransparent(dc, x, y, bitmap, width, height, BottomLeftColour(bitmap));
}

GdiObject<HBITMAP> KeyedOnBackground(HBITMAP bitmap, COLORREF background) {
  const SizeI size = BitmapSize(bitmap);
  ScreenDC screen;
  GdiObject<HBITMAP> copy(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
  MemoryDC dc(screen.get());
  SelectScope select(dc.get(), copy.get());
  GdiObject<HBRUSH> brush(CreateSolidBrush(background));
  RECT all{0, 0, size.cx, size.cy};
  FillRect(dc.get(), &all, brush.get());
  DrawKeyedBitmap(dc.get(), 0, 0, size.cx, size.cy, bitmap);
  return copy;
}

}  // namespace setuvane
