// The fonts of the installer's windows beside the Tahoma of widgets/gdi_win32.h.
#pragma once

#include <windows.h>

#include "widgets/gdi_win32.h"

namespace setuvane {

// "MS Sans Serif" 8 points (height -11), default character set.
GdiObject<HFONT> CreateSansSerif();

// True when the screen's font list holds the family.
bool FontFamilyInstalled(const char* family);

}  // namespace setuvane
