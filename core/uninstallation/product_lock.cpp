#include "core/uninstallation/product_lock.h"

#include "core/run/problem_reports.h"
#include "core/uninstallation/uninstall_texts.h"
#include "system/cp1250.h"
#include "system/install_journal.h"
#include "system/machine.h"
#include "system/sha256.h"

namespace setuvane {
namespace {

constexpr std::uint32_t kPlatformNt = 2;  // VER_PLATFORM_WIN32_NT
// Below the system's limit (MAX_PATH) with the namespace's prefix.
constexpr size_t kLongestReadableName = 200;

// Windows 2000 and later know the "Global\" prefix; earlier ones would take the
// backslash as part of the name, which they refuse.
bool HasGlobalNamespace() {
  const std::optional<VersionRecord> version = CurrentMachine().Version();
  return version && version->platformId == kPlatformNt && version->majorVersion >= 5;
}

}  // namespace

std::string ProductLockName(const std::string& entryKey, bool globalNamespace) {
  // The entry key holds no backslash, the one character a mutex name may not hold
  // after its namespace. Its letters beyond ASCII are written as %XX of their UTF-8
  // bytes, so that the name is the same whichever code page the system reads it in.
  const std::string key = UpperCp1250Letters(entryKey);
  std::string name = "Setuvane ";
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : key) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80 && c != '%') {
      name += c;
    } else {
      name += {'%', kHex[byte >> 4], kHex[byte & 15]};
    }
  }
  if (name.size() > kLongestReadableName) {
    name = "Setuvane " + Sha256Hex(key);
  }
  return std::string(globalNamespace ? "Global\\" : "") + name;
}

std::optional<UnattendedExitCode> TakeProductLock(const std::string& entryKey) {
  const std::string name = ProductLockName(entryKey, HasGlobalNamespace());
  switch (CurrentMachine().HoldNamedMutex(name)) {
    case MutexHold::kHeld: return std::nullopt;
    case MutexHold::kHeldElsewhere:
      JournalNote("another installation of the product runs: " + name);
      ReportProblem(UninstallText().anotherRunning, name);
      return kExitAnotherRunning;
    case MutexHold::kFailed: break;
  }
  JournalNote("the product's lock cannot be made: " + name);
  ReportProblem(UninstallText().lockNotMade, name);
  return kExitStepFailed;
}

}  // namespace setuvane
