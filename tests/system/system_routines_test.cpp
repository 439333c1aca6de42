#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/system_actions.h"
#include "system/system_queries.h"
#include "tests/system/fake_machine.h"

namespace setuvane {
namespace {

using ::testing::ElementsAre;
using fakes::FakeMachine;

class SystemRoutinesTest : public ::testing::Test {
 protected:
  FakeMachine machine;
  ScopedMachine scoped{machine};
};

TEST_F(SystemRoutinesTest, VersionAndPlatformTexts) {
  EXPECT_EQ(GetWindowsVersion(), "5.0.2195");
  EXPECT_EQ(GetWindowsPlatform(), "Microsoft Windows NT");
  // Windows 98 keeps the version in the upper half of the build field.
  machine.version = VersionRecord{4, 10, 0xC0A00000u | 1998, 1};
  EXPECT_EQ(GetWindowsVersion(), "4.10." + std::to_string(static_cast<std::int32_t>(0xC0A007CEu)));
  EXPECT_EQ(GetWindowsPlatform(), "Microsoft Windows 95");
  machine.version->platformId = 0;
  EXPECT_EQ(GetWindowsPlatform(), "Microsoft Win32s");
  machine.version->platformId = 3;
  EXPECT_EQ(GetWindowsPlatform(), "");
  machine.version = std::nullopt;
  EXPECT_EQ(GetWindowsVersion(), "");
  EXPECT_EQ(GetWindowsPlatform(), "");
}

TEST_F(SystemRoutinesTest, FreeSpaceIsCountedIn64Bits) {
  EXPECT_EQ(GetDiskFreeBytes("Q:"), -1);
  EXPECT_EQ(machine.diskRoot, "Q:\\");

  machine.diskSpace = DiskSpace{8, 512, 2560, 100000, std::nullopt};
  EXPECT_EQ(GetDiskFreeBytes("C:"), 10485760);
  // 2 GiB and 4 GiB free: a 32-bit product would give -2147483648 (then its
  // absolute value wraps as well) and 0.
  machine.diskSpace = DiskSpace{8, 512, 524288, 1000000, std::nullopt};
  EXPECT_EQ(GetDiskFreeBytes("C:\\"), std::int64_t{1} << 31);
  EXPECT_EQ(machine.diskRoot, "C:\\");
  machine.diskSpace = DiskSpace{64, 512, 131072, 1000000, std::nullopt};
  EXPECT_EQ(GetDiskFreeBytes("C:"), std::int64_t{1} << 32);
  machine.diskSpace = DiskSpace{0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0, std::nullopt};
  EXPECT_EQ(GetDiskFreeBytes("C:"), INT64_MAX);
}

TEST_F(SystemRoutinesTest, FreeSpacePrefersThe64BitQuery) {
  // Clusters capped at 2 GiB by the old call; the 64-bit count is the truth.
  machine.diskSpace = DiskSpace{64, 512, 65535, 65535, std::uint64_t{300} << 30};
  EXPECT_EQ(GetDiskFreeBytes("C:"), std::int64_t{300} << 30);
  machine.diskSpace->bytesFreeToCaller = UINT64_MAX;
  EXPECT_EQ(GetDiskFreeBytes("C:"), INT64_MAX);
}

TEST_F(SystemRoutinesTest, CanEnterDirectoryRestoresTheCurrentOne) {
  machine.enterableDirectories.insert("D:\\Gry");
  EXPECT_TRUE(CanEnterDirectory("D:\\Gry"));
  EXPECT_FALSE(CanEnterDirectory("D:\\Brak"));
  EXPECT_EQ(machine.currentDirectory, "C:\\WORK");
  EXPECT_THAT(machine.enteredDirectories, ElementsAre("D:\\Gry", "C:\\WORK", "D:\\Brak", "C:\\WORK"));
}

TEST_F(SystemRoutinesTest, RunAndWaitPassesLongCommandLinesWhole) {
  machine.exitCode = 3010;
  std::string line = "\"E:\\supdcom\\setup.exe\" /q " + std::string(2000, 'a');
  EXPECT_EQ(RunAndWait(line, 0), 3010u);
  EXPECT_EQ(machine.commandLine, line);
  EXPECT_EQ(machine.showWindow, 0);
  machine.exitCode = 0xFFFFFFFFu;
  EXPECT_EQ(RunAndWait("x", 1), 0xFFFFFFFFu);
  machine.exitCode = std::nullopt;  // did not start
  EXPECT_EQ(RunAndWait("nosuch.exe", 0), 0u);
}

TEST_F(SystemRoutinesTest, ShutdownFlagsByMode) {
  machine.version->platformId = 1;  // no privilege steps
  const std::pair<int, std::uint32_t> modes[] = {{0, 5}, {1, 6}, {2, 4}, {3, 12}, {4, 4}, {-1, 4}};
  for (auto [mode, flags] : modes) {
    machine.exitFlags.reset();
    EXPECT_EQ(ShutDownWindows(mode), 0);
    EXPECT_EQ(machine.exitFlags, flags) << "mode " << mode;
  }
  EXPECT_THAT(machine.calls, ::testing::Each("RequestExitWindows"));
}

TEST_F(SystemRoutinesTest, ShutdownOnNtEnablesThePrivilegeFirst) {
  EXPECT_EQ(ShutDownWindows(kShutdownRestart), 0);
  EXPECT_THAT(machine.calls, ElementsAre("OpenOwnToken", "LookupPrivilege SeShutdownPrivilege", "EnablePrivilege 42",
                                         "ReleaseHandle 42", "RequestExitWindows"));
  EXPECT_EQ(machine.tokenAccess, 0x28u);
  EXPECT_EQ(machine.enabledPrivilege, 0x1300000013u);
  EXPECT_EQ(machine.enabledAttributes, 2u);
  EXPECT_EQ(machine.exitFlags, 6u);
}

TEST_F(SystemRoutinesTest, ShutdownPrivilegeFailuresHaveTheirCodes) {
  machine.tokenOpens = false;
  EXPECT_EQ(ShutDownWindows(kShutdownRestart), 1);
  EXPECT_THAT(machine.calls, ElementsAre("OpenOwnToken"));

  machine = FakeMachine();
  machine.privilegeFound = false;
  EXPECT_EQ(ShutDownWindows(kShutdownRestart), 3);
  EXPECT_THAT(machine.calls, ElementsAre("OpenOwnToken", "LookupPrivilege SeShutdownPrivilege", "ReleaseHandle 42"));

  machine = FakeMachine();
  machine.adjustLastError = 1300;  // ERROR_NOT_ALL_ASSIGNED
  EXPECT_EQ(ShutDownWindows(kShutdownRestart), 4);
  EXPECT_FALSE(machine.exitFlags.has_value());
  EXPECT_EQ(machine.calls.back(), "ReleaseHandle 42");
}

TEST_F(SystemRoutinesTest, LoopingSoundStartsAndStops) {
  EXPECT_TRUE(PlayLoopingSound("E:\\install.wav"));
  EXPECT_TRUE(StopSound());
  machine.soundPlays = false;
  EXPECT_FALSE(PlayLoopingSound("E:\\brak.wav"));
  ASSERT_EQ(machine.sounds.size(), 3u);
  EXPECT_EQ(machine.sounds[0].first, "E:\\install.wav");
  EXPECT_EQ(machine.sounds[0].second, 9u);
  EXPECT_EQ(machine.sounds[1].first, std::nullopt);
  EXPECT_EQ(machine.sounds[1].second, 9u);
}

}  // namespace
}  // namespace setuvane
