// Case-insensitive comparison under the user's locale. On Windows the system
// compares (CompareStringA, LOCALE_USER_DEFAULT, NORM_IGNORECASE); the native build
// folds the letters of Windows-1250, the code page of the installer's texts.
#pragma once

#include <string_view>

namespace setuvane {

bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace setuvane
