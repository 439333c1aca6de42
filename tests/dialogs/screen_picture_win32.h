// A picture of part of the screen as a 24-bit BMP file, for the screenshots of the
// dialogs, the wizard's pages and the demo.
#pragma once

#include <windows.h>

#include <filesystem>

namespace setuvane::testing {

bool SaveScreenArea(const RECT& area, const std::filesystem::path& path);

}  // namespace setuvane::testing
