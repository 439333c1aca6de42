// Wine reports the Windows version that HKCU\Software\Wine\AppDefaults\<program
// name>\Version names ("win95", "win98", "nt40", "win2k", "winxp", ...) to programs
// of that file name. A test copies its program under a name of its own and sets
// the version for that name while the object lives.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

namespace setuvane::testing {

class ReportedWindows {
 public:
  ReportedWindows(const std::string& programName, const char* wineVersion)
      : key_("Software\\Wine\\AppDefaults\\" + programName) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
      set_ = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(wineVersion),
                            static_cast<DWORD>(std::strlen(wineVersion) + 1)) == ERROR_SUCCESS;
      RegCloseKey(key);
    }
  }
  ~ReportedWindows() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
  ReportedWindows(const ReportedWindows&) = delete;
  ReportedWindows& operator=(const ReportedWindows&) = delete;
  bool IsSet() const { return set_; }

 private:
  std::string key_;
  bool set_ = false;
};

}  // namespace setuvane::testing
