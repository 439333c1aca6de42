// The artwork carried as bitmap resources of the program (art/setuvane.rc), and
// the drawing of a picture whose key colour is left out.
#pragma once

#include <windows.h>

#include "art/artwork_ids.h"
#include "dialogs/gdi_handles_win32.h"

namespace setuvane {

// A fresh copy of the bitmap resource `id` of the running program; null when the
// program carries no such resource.
UniqueBitmap LoadArtwork(int id);

SIZE BitmapSize(HBITMAP bitmap);

// The colour of the bitmap's bottom-left pixel, the key colour of a keyed picture.
COLORREF BottomLeftColour(HBITMAP bitmap);

// Draws the bitmap at (x, y) at its own size, cut to `width` x `height`, leaving
// out every pixel of `key`, which keeps what is below it on `dc`.
void DrawKeyedBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, COLORREF key);

// A copy of the keyed bitmap in which the key colour is replaced by `background`
// (the way a menu or a list line shows a keyed icon on its own colour).
UniqueBitmap KeyedOnBackground(HBITMAP bitmap, COLORREF background);

}  // namespace setuvane
