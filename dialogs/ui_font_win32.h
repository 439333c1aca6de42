// The fonts of the installer's windows.
#pragma once

#include <windows.h>

#include "widgets/gdi_win32.h"

namespace setuvane {

// "Tahoma" 8 points (height -11), East European character set.
GdiObject<HFONT> CreateTahoma(bool bold = false);

// "MS Sans Serif" 8 points (height -11), default character set.
GdiObject<HFONT> CreateSansSerif();

// True when the screen's font list holds the family.
bool FontFamilyInstalled(const wchar_t* family);

// Sends WM_SETFONT to the window and all its descendants.
void SetFontOfTree(HWND window, HFONT font);

}  // namespace setuvane
