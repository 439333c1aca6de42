// The plain building blocks of the installer's windows that the widget library
// does not provide: a borderless panel of one colour, a picture, and a label.
#pragma once

#include <windows.h>

#include <string_view>

#include "widgets/gdi_win32.h"

namespace setuvane {

// A child window filled with `colour` that answers its static children's colour
// requests with the same colour, so labels on it match it.
HWND CreatePanel(HWND parent, int x, int y, int width, int height, COLORREF colour);
COLORREF PanelColour(HWND panel);

// A picture: the bitmap drawn at its own size from the top left corner and cut off
// at the window's edges, neither stretched nor centred. A keyed picture leaves out
// the colour of its bottom-left pixel and shows its parent's colour there.
HWND CreatePicture(HWND parent, int x, int y, int width, int height, bool keyed);
// The picture takes ownership of the bitmap (the previous one is deleted).
void SetPicture(HWND picture, GdiObject<HBITMAP> bitmap);
HBITMAP PictureBitmap(HWND picture);

// A vertical etched line along the left edge of the window.
HWND CreateVerticalBevel(HWND parent, int x, int y, int width, int height);

// A static text without prefix characters; word-wrapped.
HWND CreateLabel(HWND parent, int x, int y, int width, int height, std::string_view text);
void SetLabelText(HWND label, std::string_view text);
// The label's text colour on a panel (the window-text colour unless set).
void SetLabelColour(HWND label, COLORREF colour);

// The dialogs' common window texts, UTF-8 in and out.
void SetWindowTextUtf8(HWND window, std::string_view text);
std::string WindowTextUtf8(HWND window);

}  // namespace setuvane
