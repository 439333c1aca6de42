// The uninstallation's disk under Wine: through the W calls, and again with the ANSI
// calls forced (core_windows_test_ansi), the set Windows 9x gets, where removal at
// restart is a line of WININIT.INI in the OEM code page and takes files only; a
// folder link made on the Unix side, which Wine shows as a reparse point.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/uninstallation/link_on_the_way.h"
#include "core/uninstallation/uninstall_files.h"
#include "system/shell_folders.h"
#include "system/text_compare.h"
#include "system/utf8.h"
#include "tests/archive/temp_folder.h"
#include "tests/core/unix_side_win32.h"
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

// The same removals taken out again, as a reinstallation does: only the paths
// given (by their short name in WININIT.INI); another path's removal stays.
TEST(UninstallFilesOnWindows, RemovalsAtRestartTakenOutAreOnlyThoseOfThePathsGiven) {
  archive::testing::TempFolder temp;
  const std::filesystem::path folder = temp.Path() / L"Łódź";
  std::filesystem::create_directories(folder);
  archive::testing::WriteFile(folder / L"żółw.txt", {'x'});
  archive::testing::WriteFile(temp.Path() / L"inny.txt", {'y'});
  const std::string file = Utf8Path(folder / L"żółw.txt"), other = Utf8Path(temp.Path() / L"inny.txt");
  UninstallFiles& files = DefaultUninstallFiles();
  const std::string wininit = GetWindowsFolder() + "WININIT.INI";
  const std::string before = files.ReadWhole(wininit).value_or("");
  ASSERT_TRUE(files.RemoveAtRestart(file));
  ASSERT_TRUE(files.RemoveAtRestart(other));
  if (!ui::AnsiCalls()) {
    ASSERT_TRUE(files.RemoveAtRestart(Utf8Path(folder)));
  }

  const std::vector<std::string> taken = files.KeepAtRestart({Utf8Path(folder), file, "C:\\brak\\plik.txt"});
  ASSERT_EQ(taken.size(), ui::AnsiCalls() ? 1u : 2u);
  EXPECT_TRUE(SameTextIgnoringCase(taken[0], file)) << taken[0];
  EXPECT_EQ(files.KeepAtRestart({file}), std::vector<std::string>{});  // gone already
  EXPECT_EQ(files.KeepAtRestart({other}).size(), 1u);                 // it was still there
  if (ui::AnsiCalls() && before.empty()) {
    EXPECT_EQ(files.ReadWhole(wininit).value_or(""), "[rename]\r\n");
    files.RemoveFile(wininit);
  }
}

// Wine shows a folder's symbolic link made on the Unix side as a reparse point (a
// file's it shows as the file); the uninstallation does not pass through it.
TEST(UninstallFilesOnWindows, AFolderLinkIsALinkOnTheWay) {
  archive::testing::TempFolder temp;
  std::filesystem::create_directories(temp.Path() / "cel");
  archive::testing::WriteFile(temp.Path() / "cel" / "plik.txt", {'x'});
  const std::filesystem::path link = temp.Path() / "dowiazanie";
  if (!fakes::MakeUnixSymlink(temp.Path() / "cel", link)) GTEST_SKIP() << "no Unix side to make a link on";
  UninstallFiles& files = DefaultUninstallFiles();
  EXPECT_TRUE(files.IsLink(Utf8Path(link)));
  EXPECT_FALSE(files.IsLink(Utf8Path(temp.Path() / "cel")));
  EXPECT_FALSE(files.IsLink(Utf8Path(link / "plik.txt")));
  EXPECT_EQ(LinkOnTheWay(files, Utf8Path(link / "plik.txt")), Utf8Path(link));
  EXPECT_EQ(LinkOnTheWay(files, Utf8Path(temp.Path() / "cel" / "plik.txt")), std::nullopt);
  EXPECT_TRUE(fakes::RemoveUnixSymlink(link));
}

}  // namespace
}  // namespace setuvane
