// Dialog characters offered to the controls of a window, one after the other.
#include "widgets/widget_messages.h"

#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {

namespace {

struct DialogCharSearch {
  wchar_t ch;
  bool handled;
};

BOOL CALLBACK OfferDialogChar(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<DialogCharSearch*>(param);
  if (ui::Send(child, WM_SETUVANE_DIALOGCHAR, search->ch, 0) != 0) {
    search->handled = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool DispatchDialogChar(HWND root, wchar_t ch) {
  DialogCharSearch search{ch, false};
  EnumChildWindows(root, OfferDialogChar, reinterpret_cast<LPARAM>(&search));
  return search.handled;
}

}  // namespace setuvane
