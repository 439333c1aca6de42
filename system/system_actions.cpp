#include "system/system_actions.h"

#include <string>

#include "system/machine.h"
#include "system/system_queries.h"

namespace setuvane {
namespace {

// ExitWindowsEx flags.
constexpr std::uint32_t kEwxLogOff = 0x0;
constexpr std::uint32_t kEwxShutdown = 0x1;
constexpr std::uint32_t kEwxReboot = 0x2;
constexpr std::uint32_t kEwxForce = 0x4;
constexpr std::uint32_t kEwxPowerOff = 0x8;

constexpr std::uint32_t kTokenAdjustPrivileges = 0x20;
constexpr std::uint32_t kTokenQuery = 0x08;
constexpr std::uint32_t kSePrivilegeEnabled = 0x2;

// sndPlaySoundA: SND_ASYNC | SND_LOOP.
constexpr std::uint32_t kLoopInBackground = 0x0001 | 0x0008;

enum PrivilegeFailure : int { kNoToken = 1, kNoPrivilegeValue = 3, kPrivilegeNotEnabled = 4 };

std::uint32_t ExitFlagsFor(int mode) {
  switch (mode) {
    case kShutdownShutDown: return kEwxForce | kEwxShutdown;
    case kShutdownRestart: return kEwxForce | kEwxReboot;
    case kShutdownPowerOff: return kEwxForce | kEwxPowerOff;
    default: return kEwxForce | kEwxLogOff;
  }
}

// The NT family lets a process shut down only with SeShutdownPrivilege enabled.
// Returns 0 when it is enabled, else the code of the step that failed.
int EnableShutdownPrivilege(Machine& machine) {
  std::optional<Machine::Handle> token = machine.OpenOwnToken(kTokenAdjustPrivileges | kTokenQuery);
  if (!token) return kNoToken;
  int result = 0;
  if (std::optional<std::uint64_t> privilege = machine.LookupPrivilege("SeShutdownPrivilege")) {
    if (machine.EnablePrivilege(*token, *privilege, kSePrivilegeEnabled) != 0) result = kPrivilegeNotEnabled;
  } else {
    result = kNoPrivilegeValue;
  }
  machine.ReleaseHandle(*token);
  return result;
}

}  // namespace

std::uint32_t RunAndWait(std::string_view commandLine, int showWindow) {
  return CurrentMachine().RunProcess(std::string(commandLine), showWindow).value_or(0);
}

int ShutDownWindows(int mode) {
  Machine& machine = CurrentMachine();
  std::uint32_t flags = ExitFlagsFor(mode);
  if (GetWindowsPlatform().find("Windows NT") != std::string::npos) {
    if (int failure = EnableShutdownPrivilege(machine)) return failure;
  }
  machine.RequestExitWindows(flags);
  return 0;
}

bool PlayLoopingSound(std::string_view path) {
  return CurrentMachine().PlaySoundFile(std::string(path).c_str(), kLoopInBackground);
}

bool StopSound() { return CurrentMachine().PlaySoundFile(nullptr, kLoopInBackground); }

}  // namespace setuvane
