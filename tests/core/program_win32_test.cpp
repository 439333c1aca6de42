// The installer program itself, and the DLL search restriction it starts with.
#include <gtest/gtest.h>

#include <string>

#include "core/dll_search_win32.h"
#include "tests/dialogs/window_driver_win32.h"

namespace setuvane {
namespace {

// A Linux path of the build as Wine sees it (drive Z: is the root).
std::string WinePath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  path.insert(0, "Z:");
  return path;
}

TEST(Program, StartsFullScreenAsSetuvaneAndEndsNormallyWhenClosed) {
  std::string command = "\"" + WinePath(SETUVANE_EXE) + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  HWND window = testing::WaitForWindow(L"TfrmDefaultInterface", nullptr, 30000);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(testing::TextOf(window), L"Setuvane");
  EXPECT_TRUE(testing::WaitUntil([&] {
    const RECT r = testing::ScreenRectOf(window);
    return r.left == 0 && r.top == 0 && r.right == GetSystemMetrics(SM_CXSCREEN) &&
           r.bottom == GetSystemMetrics(SM_CYSCREEN);
  }));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
  DWORD exitCode = 99;
  GetExitCodeProcess(process.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

TEST(DllSearch, TheProgramsOwnFolderIsNoLongerSearched) {
  // The probe lies beside this test program, as a planted DLL would beside the installer.
  HMODULE before = LoadLibraryA("setuvane_dll_probe.dll");
  ASSERT_NE(before, nullptr) << "the probe must load before the restriction";
  FreeLibrary(before);
  EXPECT_EQ(RestrictDllSearchPath(), DllSearchRestriction::kSystemFolderOnly);
  HMODULE after = LoadLibraryA("setuvane_dll_probe.dll");
  EXPECT_EQ(after, nullptr);
  if (after) FreeLibrary(after);
  // System DLLs still load.
  HMODULE system = LoadLibraryA("comctl32.dll");
  EXPECT_NE(system, nullptr);
  if (system) FreeLibrary(system);
}

}  // namespace
}  // namespace setuvane
