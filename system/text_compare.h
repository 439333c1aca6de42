// Case-insensitive comparison under the user's locale. On Windows the system
// compares (CompareString, LOCALE_USER_DEFAULT, NORM_IGNORECASE, through the set of
// calls the program uses); the native build folds the letters of Windows-1250, the
// code page of the installer's texts.
#pragma once

#include <string_view>

namespace setuvane {

// Both texts are UTF-8.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace setuvane
