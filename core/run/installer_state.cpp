#include "core/run/installer_state.h"

namespace setuvane {

std::string LaunchFolder;
std::string SetupFolder;
int PageIndex = 1;
const PagePanel* CurrentPage = nullptr;

const PagePanel scrWelcome{1}, scrLicense{2}, scrReadme{3}, scrLocation{4}, scrInstall{5}, scrComplete{6};

}  // namespace setuvane
