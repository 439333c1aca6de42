#include "dialogs/ui_font_win32.h"

#include <cwchar>

namespace setuvane {
namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

GdiObject<HFONT> CreateSansSerif() {
  return CreateUiFont(L"MS Sans Serif", FW_NORMAL, DEFAULT_CHARSET);
}

bool FontFamilyInstalled(const wchar_t* family) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, family, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(ScreenDC().get(), &lf, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace setuvane
