// The system's common controls (tooltips, list views), which the installer does not
// import: the library is loaded from the system folder only (never from the
// medium's folder) at run time, and its window classes registered once.
#pragma once

namespace setuvane {

// True when the library is loaded and its classes are registered.
bool CommonControlsReady();

}  // namespace setuvane
