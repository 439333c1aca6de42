#include "core/program/environment_queries_win32.h"

namespace setuvane {

int Win32EnvironmentQueries::CleanBoot() const { return GetSystemMetrics(SM_CLEANBOOT); }

int Win32EnvironmentQueries::MousePresent() const { return GetSystemMetrics(SM_MOUSEPRESENT); }

int Win32EnvironmentQueries::BitsPerPixel() const {
  HDC dc = GetDC(canvas_);
  const int bits = GetDeviceCaps(dc, BITSPIXEL);
  ReleaseDC(canvas_, dc);
  return bits;
}

}  // namespace setuvane
