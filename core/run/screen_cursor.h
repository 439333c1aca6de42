// The screen cursor: the hourglass while the installation works, the arrow
// otherwise and before every report. The main window applies it to itself and
// its controls; the logic only says which one.
#pragma once

#include <functional>

namespace setuvane {

enum class ScreenCursor { kDefault, kHourglass };

void SetScreenCursor(ScreenCursor cursor);
ScreenCursor CurrentScreenCursor();

// The one listener (the main window), told of every change; empty removes it.
void SetScreenCursorListener(std::function<void(ScreenCursor)> listener);

}  // namespace setuvane
