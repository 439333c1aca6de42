// The artwork carried as deflated picture resources of the program (art/setuvane.rc).
#pragma once

#include <windows.h>

#include "art/artwork_ids.h"
#include "widgets/gdi_win32.h"

namespace setuvane {

// A fresh bitmap of the picture resource `id` of the running program; empty when
// the program carries no such resource.
GdiObject<HBITMAP> LoadArtwork(int id);

// The colour of the bitmap's bottom-left pixel, the key colour of a keyed picture.
COLORREF BottomLeftColour(HBITMAP bitmap);

// Draws a keyed picture at (x, y) at its own size, cut to width x height, leaving
// out its key colour so that what is below shows.
void DrawKeyedBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap);

// A copy of the keyed bitmap with the key colour replaced by `background` (the way
// a menu entry or a list line shows a keyed icon on its own colour).
GdiObject<HBITMAP> KeyedOnBackground(HBITMAP bitmap, COLORREF background);

}  // namespace setuvane
