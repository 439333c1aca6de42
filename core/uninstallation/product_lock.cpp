#include "core/uninstallation/product_lock.h"

#include <optional>

#include "core/run/problem_reports.h"
#include "core/uninstallation/uninstall_texts.h"
#include "system/install_journal.h"
#include "system/machine.h"

namespace setuvane {
namespace {

constexpr std::uint32_t kPlatformNt = 2;  // VER_PLATFORM_WIN32_NT

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
  std::string name = std::string(globalNamespace ? "Global\\" : "") + "Setuvane ";
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : entryKey) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80 && c != '%') {
      name += c;
    } else {
      name += {'%', kHex[byte >> 4], kHex[byte & 15]};
    }
  }
  return name;
}

bool HoldProductLock(const std::string& entryKey) {
  const std::string name = ProductLockName(entryKey, HasGlobalNamespace());
  if (CurrentMachine().HoldNamedMutex(name)) return true;
  JournalNote("another installation of the product runs: " + name);
  ReportProblem(UninstallText().anotherRunning, name);
  return false;
}

}  // namespace setuvane
