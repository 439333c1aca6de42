// The steps of the main window's life that need no window: fixing the work folders,
// the medium's looping sound, and the setup folder's logo.
#pragma once

#include <optional>
#include <string>

namespace setuvane {

// The first steps of the start-up sequence: LaunchFolder, SetupFolder, then the
// wizard state at its first page with no page panel shown.
void InitialiseInstallerState();

// Starts "install.wav" from the launch folder in an endless background loop when
// the file is there; without it nothing plays. True when a sound was started.
bool StartLoopingSound();
void StopLoopingSound();

// SetupFolder + "install.bmp" when that file exists.
std::optional<std::string> PackageLogoPath();

}  // namespace setuvane
