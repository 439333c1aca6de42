#include "dialogs/ui_font_win32.h"

#include <cwchar>

namespace setuvane {
namespace {

GdiObject<HFONT> CreateFontOf(const wchar_t* family, int weight, BYTE charset) {
  LOGFONTW lf{};
  lf.lfHeight = -11;
  lf.lfWeight = weight;
  lf.lfCharSet = charset;
  lf.lfQuality = DEFAULT_QUALITY;
  wcsncpy(lf.lfFaceName, family, LF_FACESIZE - 1);
  return GdiObject<HFONT>(CreateFontIndirectW(&lf));
}

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

BOOL CALLBACK SetFontOfChild(HWND child, LPARAM font) {
  SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  return TRUE;
}

}  // namespace

GdiObject<HFONT> CreateTahoma(bool bold) {
  return CreateFontOf(L"Tahoma", bold ? FW_BOLD : FW_NORMAL, EASTEUROPE_CHARSET);
}

GdiObject<HFONT> CreateSansSerif() {
  return CreateFontOf(L"MS Sans Serif", FW_NORMAL, DEFAULT_CHARSET);
}

bool FontFamilyInstalled(const wchar_t* family) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, family, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &lf, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

void SetFontOfTree(HWND window, HFONT font) {
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EnumChildWindows(window, SetFontOfChild, reinterpret_cast<LPARAM>(font));
}

}  // namespace setuvane
