// The installer in the Windows it runs on: where a product's program folder under
// "<programsfolder>", its system files and its HKEY_LOCAL_MACHINE\Software keys
// land. CTest runs it in the build's 32-bit Wine prefix and again in a 64-bit one,
// where the 32-bit installer lives in WoW64 (see CMakeLists.txt). And the whole
// installation with Wine reporting each older Windows, Windows 9x replacing files
// without MoveFileExA.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/core/installer_driver_win32.h"
#include "tests/core/test_medium.h"
#include "tests/system/reported_windows_win32.h"

namespace setuvane {
namespace {

using archive::testing::ToBytes;
using fakes::MediumEntry;
using fakes::StartablePackage;
using fakes::TestMedium;
using testing::StartProcess;
using testing::WaitForExit;
using testing::WinePath;

constexpr char kProduct[] = "Setuvane Folders Test";
constexpr char kProductKey[] = "Software\\Setuvane Folders Test";

bool FileThere(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string TextValue(HKEY root, const char* path, const char* name, REGSAM view = 0) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return "(no key)";
  char data[MAX_PATH] = "";
  DWORD size = sizeof data - 1;
  const LONG status = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? data : "(no value)";
}

bool KeyThere(const char* path, REGSAM view) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool UnderWow64() {
  using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto query = reinterpret_cast<IsWow64ProcessFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  return query && query(GetCurrentProcess(), &wow64) && wow64;
}

std::string SystemFolder() {
  char folder[MAX_PATH] = "";
  GetSystemDirectoryA(folder, MAX_PATH);
  return std::string(folder) + "\\";
}

class ProgramFolders : public ::testing::Test {
 protected:
  void TearDown() override {
    // Also where a wrong rule would have put it, so that no later run finds it there.
    for (const std::string& folder : {programFolder, std::string("C:\\Program Files\\") + kProduct + "\\"}) {
      DeleteFileA((folder + "app.exe").c_str());
      RemoveDirectoryA(folder.c_str());
    }
    DeleteFileA((SystemFolder() + "setuvane-folders-test.dll").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProductKey);
  }

  TestMedium medium;
  std::string programFolder;
};

TEST_F(ProgramFolders, AProductLandsInTheSystemsFoldersAndRegistryView) {
  std::vector<archive::testing::ZipEntryLayout> package =
      StartablePackage(std::string("<programsfolder>") + kProduct + "\\");
  for (auto& entry : package) {
    if (entry.name == "registry.inf") {
      entry = MediumEntry("registry.inf", std::string("+hlm\\") + kProductKey + "\r\n-str:Katalog=<programfolder>\r\n");
    }
  }
  package.push_back(MediumEntry("app.exe", "program", "<programfolder>"));
  package.push_back(MediumEntry("setuvane-folders-test.dll", "library", "<systemfolder>"));
  medium.WritePackage(package);
  ASSERT_TRUE(CopyFileA(WinePath(SETUVANE_EXE).c_str(), (medium.Medium() + "setuvane.exe").c_str(), FALSE));

  PROCESS_INFORMATION process = StartProcess(std::string("\"") + medium.Medium() + "setuvane.exe\" /VERYSILENT");
  ASSERT_EQ(WaitForExit(process), 0u);

  // The folder the system registers for this program's kind, not one made up
  // from the Windows volume.
  const std::string programFiles =
      TextValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
  programFolder = programFiles + "\\" + kProduct + "\\";
  EXPECT_TRUE(FileThere(programFolder + "app.exe")) << programFolder;
  EXPECT_TRUE(FileThere(SystemFolder() + "setuvane-folders-test.dll"));
  EXPECT_EQ(TextValue(HKEY_LOCAL_MACHINE, kProductKey, "Katalog"), programFolder);

  if (!UnderWow64()) return;
  // A 32-bit product on 64-bit Windows: Program Files (x86), the 32-bit system
  // folder (SysWOW64 behind the name system32) and the 32-bit registry view.
  EXPECT_EQ(programFiles, "C:\\Program Files (x86)");
  EXPECT_FALSE(FileThere(std::string("C:\\Program Files\\") + kProduct + "\\app.exe"));
  const char* prefix = std::getenv("SETUVANE_WINEPREFIX");
  ASSERT_NE(prefix, nullptr);
  const std::string windows = WinePath(prefix) + "\\drive_c\\windows\\";
  EXPECT_TRUE(FileThere(windows + "syswow64\\setuvane-folders-test.dll"));
  EXPECT_FALSE(FileThere(windows + "system32\\setuvane-folders-test.dll"));
  EXPECT_TRUE(KeyThere("Software\\Wow6432Node\\Setuvane Folders Test", KEY_WOW64_64KEY));
  EXPECT_FALSE(KeyThere(kProductKey, KEY_WOW64_64KEY));
}

TEST(OlderWindows, InstallAndReplaceFilesUnderEachVersion) {
  TestMedium medium;
  std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
  package.push_back(MediumEntry("app.exe", "new program", "<programfolder>"));
  package.push_back(MediumEntry("doc/readme.txt", "documentation", "<programfolder>doc"));
  medium.WritePackage(package);
  for (const char* version : {"win95", "win98", "winme", "nt40", "win2k", "winxp"}) {
    SCOPED_TRACE(version);
    const std::string program = std::string("instaluj-") + version + ".exe";
    ASSERT_TRUE(CopyFileA(WinePath(SETUVANE_EXE).c_str(), (medium.Medium() + program).c_str(), FALSE));
    testing::ReportedWindows reported(program, version);
    ASSERT_TRUE(reported.IsSet());
    const std::filesystem::path target = medium.Path() / version;
    std::filesystem::create_directories(target);
    archive::testing::WriteFile(target / "app.exe", ToBytes("old program"));

    PROCESS_INFORMATION process = StartProcess(std::string("\"") + medium.Medium() + program +
                                               "\" /VERYSILENT /DIR=" + archive::testing::WinPath(target));
    EXPECT_EQ(WaitForExit(process), 0u);
    EXPECT_EQ(archive::testing::ReadFile(target / "app.exe"), "new program");
    EXPECT_EQ(archive::testing::ReadFile(target / "doc" / "readme.txt"), "documentation");
    // Nothing left beside them but the uninstaller and its record: no temporary
    // file, no old file set aside.
    EXPECT_EQ(archive::testing::ListTree(target), (std::vector<std::string>{"app.exe", "doc", "doc/readme.txt",
                                                                            "uninstall.dat", "uninstall.exe"}));
  }
}

}  // namespace
}  // namespace setuvane
