// The event-log writer against the real registry and event log (under Wine), and
// the entry that a problem report writes.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "dialogs/application_title.h"
#include "dialogs/event_logger.h"
#include "dialogs/message_routines.h"
#include "tests/dialogs/window_driver_win32.h"

namespace setuvane {
namespace {

constexpr char kApplicationLog[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

// A source name of this test run, and its key removed afterwards.
class EventSourceKey {
 public:
  explicit EventSourceKey(const std::string& prefix)
      : name_(prefix + std::to_string(GetCurrentProcessId())), key_(kApplicationLog + name_) {}
  ~EventSourceKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, key_.c_str()); }
  const std::string& name() const { return name_; }
  bool Exists() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  LONG Query(const char* value, void* data, DWORD* size, DWORD* type = nullptr) const {
    return RegGetValueA(HKEY_LOCAL_MACHINE, key_.c_str(), value, RRF_RT_ANY, type, data, size);
  }
  void DeleteValue(const char* value) const { RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key_.c_str(), value); }

 private:
  std::string name_, key_;
};

TEST(EventLogger, OpenRegistersTheSourceOnceBeneathTheLocalMachine) {
  EventSourceKey key("SetuvaneTest-");
  {
    TEventLogger logger(SystemEventSources());
    logger.SetProcessName(key.name());
    logger.Write("before Open");  // nothing to write through yet
    EXPECT_FALSE(logger.Enabled());
    logger.Open();
    EXPECT_TRUE(logger.Enabled());
    logger.Write("Problem: [hint] [details]");
  }
  char program[MAX_PATH] = {};
  DWORD size = sizeof(program), type = 0;
  ASSERT_EQ(key.Query("EventMessageFile", program, &size, &type), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(program), ThisProgram());
  DWORD types = 0;
  size = sizeof(types);
  ASSERT_EQ(key.Query("TypesSupported", &types, &size, &type), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(types, 7u);

  // Registered now: a second Open leaves the key as it finds it.
  key.DeleteValue("TypesSupported");
  TEventLogger again(SystemEventSources());
  again.SetProcessName(key.name());
  again.Open();
  EXPECT_TRUE(again.Enabled());
  size = sizeof(types);
  EXPECT_EQ(key.Query("TypesSupported", &types, &size), ERROR_FILE_NOT_FOUND);
}

TEST(EventLogger, AProblemReportWritesItsEntryUnderTheApplicationTitle) {
  EventSourceKey key("SetuvaneReport-");
  const std::string previousTitle = ApplicationTitle();
  SetApplicationTitle(key.name());
  testing::WindowDriver driver(L"TfrmInfoDialog", [](HWND dialog) { testing::PostKey(dialog, VK_ESCAPE); });
  ShowProblemDialog("Problem", "Komunikat", "Wskazowka", "Szczegoly");
  driver.Join();
  SetApplicationTitle(previousTitle);
  EXPECT_TRUE(driver.found());
  EXPECT_TRUE(key.Exists());
}

}  // namespace
}  // namespace setuvane
