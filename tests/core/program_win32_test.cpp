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

PROCESS_INFORMATION StartInstaller() {
  std::string command = WinePath(SETUVANE_EXE);
  command.insert(command.begin(), '"');
  command.push_back('"');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  EXPECT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  return process;
}

// Waits for the process to end and returns its exit code (99 when it did not end).
DWORD ExitCodeOf(PROCESS_INFORMATION& process) {
  DWORD exitCode = 99;
  if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &exitCode);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode;
}

TEST(Program, StartsFullScreenAsSetuvaneAndEndsNormallyWhenClosed) {
  PROCESS_INFORMATION process = StartInstaller();
  HWND window = testing::WaitForWindow(L"TfrmDefaultInterface", nullptr, 30000);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(testing::TextOf(window), L"Setuvane");
  EXPECT_TRUE(testing::WaitUntil([&] {
    const RECT r = testing::ScreenRectOf(window);
    return r.left == 0 && r.top == 0 && r.right == GetSystemMetrics(SM_CXSCREEN) &&
           r.bottom == GetSystemMetrics(SM_CYSCREEN);
  }));
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitCodeOf(process), 0u);
}

// Meaningful on the 8-bit test display only (see CMakeLists.txt).
TEST(Program, RefusesToRunWithTooFewColours) {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  if (bits > 8) GTEST_SKIP() << "the display has " << bits << " bits per pixel";
  PROCESS_INFORMATION process = StartInstaller();
  HWND report = testing::WaitForWindow(L"TfrmInfoDialog", nullptr, 30000);
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(testing::TextOf(report), L"Ustawienia systemu");
  HWND main = FindWindowW(L"TfrmDefaultInterface", nullptr);
  EXPECT_TRUE(main == nullptr || !IsWindowVisible(main));  // the window is never shown
  PostMessageW(report, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(ExitCodeOf(process), 0u);
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
