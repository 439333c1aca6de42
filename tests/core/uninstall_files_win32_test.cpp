// The uninstallation's disk under Wine: through the W calls, and again with the ANSI
// calls forced (core_windows_test_ansi), the set Windows 9x gets, where removal at
// restart is a line of WININIT.INI in the OEM code page and takes files only.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/uninstallation/uninstall_files.h"
#include "system/shell_folders.h"
#include "system/utf8.h"
#include "tests/archive/temp_folder.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

std::string Utf8Path(const std::filesystem::path& path) { return Utf16ToUtf8(std::u16string(path.u16string())); }

TEST(UninstallFilesOnWindows, PolishNamesGoAtRestartAndFoldersOnlyOnTheNtFamily) {
  archive::testing::TempFolder temp;
  const std::filesystem::path folder = temp.Path() / L"Łódź";
  std::filesystem::create_directories(folder);
  archive::testing::WriteFile(folder / L"żółw.txt", {'x'});
  const std::string file = Utf8Path(folder / L"żółw.txt");
  UninstallFiles& files = DefaultUninstallFiles();
  ASSERT_TRUE(files.FileExists(file));
  const std::string wininit = GetWindowsFolder() + "WININIT.INI";
  const std::string before = files.ReadWhole(wininit).value_or("");

  EXPECT_TRUE(files.RemoveAtRestart(file));
  EXPECT_EQ(files.RemoveAtRestart(Utf8Path(folder)), !ui::AnsiCalls());
  if (ui::AnsiCalls()) {
    // WININIT reads the short name in the OEM code page.
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW((folder / L"żółw.txt").c_str(), shortPath, MAX_PATH), 0u);
    char oem[MAX_PATH] = {};
    WideCharToMultiByte(CP_OEMCP, 0, shortPath, -1, oem, MAX_PATH, nullptr, nullptr);
    EXPECT_NE(files.ReadWhole(wininit).value_or("").find("NUL=" + std::string(oem) + "\r\n"), std::string::npos);
    EXPECT_TRUE(before.empty() ? files.RemoveFile(wininit) == FileRemoval::kRemoved
                               : files.WriteWhole(wininit, before));
  }
}

}  // namespace
}  // namespace setuvane
