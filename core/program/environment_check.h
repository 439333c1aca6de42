// Whether the installer may run at all: not in safe mode, not without a mouse,
// not with 256 colours or fewer. The three system queries sit behind a seam.
#pragma once

#include <optional>
#include <string>

namespace setuvane {

class EnvironmentQueries {
 public:
  virtual ~EnvironmentQueries() = default;
  virtual int CleanBoot() const = 0;     // GetSystemMetrics(SM_CLEANBOOT): 0 normal
  virtual int MousePresent() const = 0;  // GetSystemMetrics(SM_MOUSEPRESENT): 0 none
  virtual int BitsPerPixel() const = 0;  // GetDeviceCaps(BITSPIXEL) of the main window
};

// The message of the first check that fails, in the order safe mode, mouse,
// colour depth (more than 8 bits per pixel needed); none when all pass. Later
// checks are not asked once one has failed.
std::optional<std::string> FindEnvironmentProblem(const EnvironmentQueries& queries);

// Runs the checks and reports a failure with ShowProblemDialog; true when the
// installer may run.
bool CheckEnvironment(const EnvironmentQueries& queries);

}  // namespace setuvane
