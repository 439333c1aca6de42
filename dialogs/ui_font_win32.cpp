#include "dialogs/ui_font_win32.h"

#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {

GdiObject<HFONT> CreateSansSerif() {
  return CreateUiFont("MS Sans Serif", FW_NORMAL, DEFAULT_CHARSET);
}

bool FontFamilyInstalled(const char* family) { return ui::FontFamilyInstalled(family); }

}  // namespace setuvane
