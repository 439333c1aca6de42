// The environment checks' system queries, asked of Windows.
#pragma once

#include <windows.h>

#include "core/program/environment_check.h"

namespace setuvane {

class Win32EnvironmentQueries : public EnvironmentQueries {
 public:
  // `canvas` is the window whose device context tells the colour depth.
  explicit Win32EnvironmentQueries(HWND canvas) : canvas_(canvas) {}
  int CleanBoot() const override;
  int MousePresent() const override;
  int BitsPerPixel() const override;

 private:
  HWND canvas_;
};

}  // namespace setuvane
