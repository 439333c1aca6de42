// Glyph pictures of the buttons: copies, one image of a strip, the embossed
// disabled form, and drawing with a transparent colour.
#pragma once

#include <windows.h>

#include "widgets/gdi_win32.h"

namespace setuvane {

SizeI BitmapSize(HBITMAP bitmap);
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);

// A screen-compatible copy of the whole bitmap (empty for nullptr).
GdiObject<HBITMAP> CopyBitmap(HBITMAP source);

// Columns [left, left + width) of `source`, all rows, as a picture of its own.
GdiObject<HBITMAP> SliceBitmap(HBITMAP source, int left, int width, int height);

// The disabled look of a single-image glyph: its black outline embossed in the
// button-highlight colour shifted by (1, 1) and the button-shadow colour on top,
// over the button face.
GdiObject<HBITMAP> EmbossedGlyph(HBITMAP image, int width, int height);

// Draws `image` at (x, y), leaving out the pixels of `transparent`.
void DrawTransparent(HDC dc, int x, int y, HBITMAP image, int width, int height, COLORREF transparent);

}  // namespace setuvane
