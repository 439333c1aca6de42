// Messages through which the flat controls talk to the windows that hold them.
#pragma once

#include <windows.h>

namespace setuvane {

// Sent by a TPlainButton click to its top-level window before OnClick runs:
// wParam is the button's ModalResult (0 included, so a form can reset its answer),
// lParam the button's HWND. A modal form stores wParam as its modal result.
inline constexpr UINT WM_SETUVANE_MODALRESULT = WM_APP + 0x301;

// A dialog character (Alt+letter, or a letter a form hands on): a control whose
// caption has that accelerator answers non-zero and acts on it. wParam is the
// character as UTF-16.
inline constexpr UINT WM_SETUVANE_DIALOGCHAR = WM_APP + 0x302;

// Offers `ch` to every descendant of `root` until one handles it; true if one did.
// A form calls this from its WM_SYSCHAR (and WM_CHAR, if it wants plain letters).
bool DispatchDialogChar(HWND root, wchar_t ch);

}  // namespace setuvane
