#include "core/installer_state.h"

namespace setuvane {

std::string LaunchFolder;
std::string SetupFolder;
int PageIndex = 1;
PagePanel* CurrentPage = nullptr;

}  // namespace setuvane
