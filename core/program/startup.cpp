#include "core/program/startup.h"

#include "core/run/installer_state.h"
#include "system/shell_folders.h"
#include "system/system_actions.h"
#include "system/system_queries.h"

namespace setuvane {

void InitialiseInstallerState() {
  LaunchFolder = GetLaunchFolder();
  SetupFolder = GetTempFolder();
  PageIndex = 1;
  CurrentPage = nullptr;
}

bool StartLoopingSound() {
  const std::string sound = LaunchFolder + "install.wav";
  return FileExists(sound) && PlayLoopingSound(sound);
}

void StopLoopingSound() { StopSound(); }

std::optional<std::string> PackageLogoPath() {
  std::string logo = SetupFolder + "install.bmp";
  if (!FileExists(logo)) return std::nullopt;
  return logo;
}

}  // namespace setuvane
