#include "dialogs/artwork_win32.h"

#include <algorithm>

namespace setuvane {

UniqueBitmap LoadArtwork(int id) {
  return UniqueBitmap(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0)));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

COLORREF BottomLeftColour(HBITMAP bitmap) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx == 0 || size.cy == 0) return CLR_INVALID;
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  SelectObjectScope select(dc.get(), bitmap);
  return GetPixel(dc.get(), 0, size.cy - 1);
}

void DrawKeyedBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, COLORREF key) {
  const SIZE size = BitmapSize(bitmap);
  width = std::min<int>(width, size.cx);
  height = std::min<int>(height, size.cy);
  if (width <= 0 || height <= 0) return;
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  UniqueMemoryDc maskDc(CreateCompatibleDC(dc));
  SelectObjectScope selectSource(source.get(), bitmap);
  // The mask is white where the picture has the key colour, black elsewhere.
  UniqueBitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
  SelectObjectScope selectMask(maskDc.get(), mask.get());
  SetBkColor(source.get(), key);
  BitBlt(maskDc.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
  // dst ^ src, then & mask (keeps only the key pixels' mix), then ^ src again:
  // key pixels get back the destination, the others become the picture.
  const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, width, height, source.get(), 0, 0, SRCINVERT);
  BitBlt(dc, x, y, width, height, maskDc.get(), 0, 0, SRCAND);
  BitBlt(dc, x, y, width, height, source.get(), 0, 0, SRCINVERT);
  SetBkColor(dc, oldBk);
  SetTextColor(dc, oldText);
}

UniqueBitmap KeyedOnBackground(HBITMAP bitmap, COLORREF background) {
  const SIZE size = BitmapSize(bitmap);
  HDC screen = GetDC(nullptr);
  UniqueBitmap copy(CreateCompatibleBitmap(screen, size.cx, size.cy));
  {
    UniqueMemoryDc dc(CreateCompatibleDC(screen));
    SelectObjectScope select(dc.get(), copy.get());
    UniqueBrush brush(CreateSolidBrush(background));
    RECT all{0, 0, size.cx, size.cy};
    FillRect(dc.get(), &all, brush.get());
    DrawKeyedBitmap(dc.get(), 0, 0, size.cx, size.cy, bitmap, BottomLeftColour(bitmap));
  }
  ReleaseDC(nullptr, screen);
  return copy;
}

}  // namespace setuvane
