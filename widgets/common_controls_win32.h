// The system's common controls (tooltips, list views), which the installer does not
// import: the library is loaded from the system folder only (never from the
// medium's folder) at run time, and its window classes registered once, with
// InitCommonControlsEx where the library has it (4.70 and later) and with
// InitCommonControls on the first versions.
#pragma once

namespace setuvane {

// Set to "1", InitCommonControlsEx is taken for missing, as in a library older than
// 4.70: for tests, which run under Wine, whose library has it.
inline constexpr char kFirstCommonControlsVariable[] = "SETUVANE_FIRST_COMMON_CONTROLS";

// True when the library is loaded and its classes are registered.
bool CommonControlsReady();

}  // namespace setuvane
