// The rules that depend on the Windows version, run on Wine set to report each of
// the older systems in turn: the first component row (supdcom) only on 4.0, that
// is Windows 95 and NT 4.0, and the shutdown privilege and decoding ahead (asked
// for through SETUVANE_DECODE_AHEAD) only on the NT family. Wine
// takes the version for a program from its name (tests/system/reported_windows_win32.h),
// so each system gets a copy of the helper program of its own name.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/archive/temp_folder.h"
#include "tests/system/reported_windows_win32.h"

namespace setuvane {
namespace {

struct OldWindows {
  const char* wineName;     // winecfg's name of the system
  const char* version;      // the start of the version text
  const char* platform;
  bool firstComponentRow;   // supdcom runs (version text "4.0...")
  bool ntFamily;            // the shutdown privilege asked for before the restart, decoding ahead
};

const OldWindows kSystems[] = {
    {"win95", "4.0.", "Microsoft Windows 95", true, false},
    {"win98", "4.10.", "Microsoft Windows 95", false, false},
    {"nt40", "4.0.1381", "Microsoft Windows NT", true, true},
    {"win2k", "5.0.2195", "Microsoft Windows NT", false, true},
    {"winxp", "5.1.2600", "Microsoft Windows NT", false, true},
};

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(OldWindows, ComponentRowsAndShutdownPrivilegeFollowTheReportedVersion) {
  archive::testing::TempFolder medium;
  // The probe files of the first two rows; none of them is run.
  for (const char* probe : {"supdcom", "supaxdo"}) {
    std::filesystem::create_directories(medium.Path() / probe);
    std::ofstream(medium.Path() / probe / "setup.exe") << "probe";
  }
  SetEnvironmentVariableA("SETUVANE_DECODE_AHEAD", "1");  // the probes inherit it
  for (const OldWindows& system : kSystems) {
    SCOPED_TRACE(system.wineName);
    const std::string program = std::string("probe-") + system.wineName + ".exe";
    std::filesystem::copy_file(SETUVANE_VERSION_PROBE, medium.Path() / program);
    testing::ReportedWindows reported(program, system.wineName);
    ASSERT_TRUE(reported.IsSet());
    const std::filesystem::path facts = medium.Path() / (std::string(system.wineName) + ".txt");
    std::string commandLine = std::string("\"") + archive::testing::WinPath(medium.Path() / program) + "\" \"" +
                              archive::testing::WinPath(facts) + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    ASSERT_EQ(exitCode, 0u);

    const std::string text = ReadText(facts);
    EXPECT_NE(text.find(std::string("version ") + system.version), std::string::npos) << text;
    EXPECT_NE(text.find(std::string("platform ") + system.platform + "\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("supdcom\\install.exe\" /q\n") != std::string::npos, system.firstComponentRow) << text;
    EXPECT_NE(text.find("supaxdo\\setup.exe\" /QT\n"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string("privilege ") + (system.ntFamily ? "yes" : "no")), std::string::npos)
        << text;
    EXPECT_NE(text.find("shutdown 0 6\n"), std::string::npos) << text;  // EWX_REBOOT | EWX_FORCE
    EXPECT_NE(text.find(std::string("decode-ahead ") + (system.ntFamily ? "yes" : "no")), std::string::npos)
        << text;
  }
  SetEnvironmentVariableA("SETUVANE_DECODE_AHEAD", nullptr);
}

}  // namespace
}  // namespace setuvane
