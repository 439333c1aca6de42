// In native tests the program does not end: AbortInstallation and EndProgramAtOnce
// throw this instead (it is no std::exception, so no handler of the code under
// test takes it for a failure of its own).
#pragma once

namespace setuvane::fakes {

struct ProgramEnded {
  bool aborted;  // through AbortInstallation, after its notice
};

}  // namespace setuvane::fakes
