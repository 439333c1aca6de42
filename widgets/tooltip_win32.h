// Tooltips need the system's common controls, which the installer does not import:
// the library is loaded from the system folder at run time, and a tooltip is
// skipped quietly where it is not available.
#pragma once

#include <windows.h>

#include <string_view>

namespace setuvane {

// Creates a tooltip window that shows `text` over `tool`; nullptr when the
// common controls are not available.
HWND CreateTooltipFor(HWND tool, std::string_view text);

// Replaces the text of a tooltip made by CreateTooltipFor.
void SetTooltipText(HWND tooltip, HWND tool, std::string_view text);

}  // namespace setuvane
