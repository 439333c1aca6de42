// Uninstallation end to end under Wine: a package installed by the real installer
// is removed as a deployment tool removes it (the entry's QuietUninstallString run
// and waited for), which leaves the disk and the registry as they were except the
// user's own files; the interactive uninstaller walked with real input; a file
// held open during the removal. With SETUVANE_SCREENSHOTS set to a folder, the
// uninstaller's pictures are saved there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "core/uninstallation/uninstall_setup.h"
#include "system/shared_file_counts.h"
#include "system/utf8.h"
#include "tests/core/installer_driver_win32.h"
#include "tests/core/test_medium.h"
#include "tests/core/unix_side_win32.h"
#include "tests/dialogs/window_driver_win32.h"

namespace setuvane {
namespace {

using archive::testing::ReadFile;
using archive::testing::ToBytes;
using archive::testing::WinPath;
using archive::testing::WriteFile;
using fakes::MediumEntry;
using fakes::StartablePackage;
using fakes::TestMedium;
using namespace testing;

const char kEntry[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Firma Produkt Testowy";

std::string EntryText(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEntry, 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
  char value[1024] = "";
  DWORD size = sizeof value;
  const LONG result = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? std::string(value) : std::string();
}

// The removals and renames Windows makes at its next start, as stored: pairs of
// UTF-16 texts.
std::u16string PendingRenames() {
  HKEY session = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                    &session) != ERROR_SUCCESS)
    return u"";
  DWORD size = 0;
  RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size);
  std::u16string data(size / 2, u'\0');
  RegQueryValueExW(session, L"PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                   &size);
  RegCloseKey(session);
  return data;
}

// Every file below the folders with its content, and every folder.
std::map<std::string, std::string> Tree(const std::vector<std::filesystem::path>& roots) {
  std::map<std::string, std::string> tree;
  for (const std::filesystem::path& root : roots) {
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(root, error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      const std::string path = it->path().string();
      tree[path] = it->is_directory() ? "<folder>" : ReadFile(it->path());
    }
  }
  return tree;
}

class Uninstaller : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileA(WinePath(SETUVANE_EXE).c_str(), (medium.Medium() + "setuvane.exe").c_str(), FALSE));
    std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
    package[0] = MediumEntry("install.inf",
                             "INSTALL_TASK_TITLE=Instalator Testowy\r\nINSTALL_MAIN_TITLE=Produkt Testowy\r\n"
                             "PRODUCT_PUBLISHER=Firma\r\nPRODUCT_VERSION=2.5\r\n");
    package[3] = MediumEntry("registry.inf",
                             "+hlm\\Software\\Firma Testowa\\Produkt\r\n-str:Katalog=<programfolder>\r\n"
                             "+hcu\\Software\\Firma Testowa\r\n-int:Uruchomienia=0\r\n"
                             "+hcu\\\\Software\\Wspolne\r\n-str:Jezyk=pl\r\n");
    package[4] = MediumEntry("shortcut.inf",
                             "{<menustartfolder>Programy\\Firma Testowa\\Produkt.lnk\r\n-lnk=<programfolder>app.exe\r\n}\r\n");
    package.push_back(MediumEntry("bin/app.exe", "program", "<programfolder>"));
    package.push_back(MediumEntry("USTAWIENIA.INF", "new settings", "<programfolder>"));
    package.push_back(MediumEntry("opcje.inf", "options", "<programfolder>"));
    package.push_back(MediumEntry("doc/readme.txt", "documentation", "<programfolder>doc\\sub"));
    medium.WritePackage(package);
    target = medium.Path() / "Produkt";
    // A value that was there before the installation wrote it.
    HKEY shared = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wspolne", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &shared, nullptr);
    RegSetValueExA(shared, "Jezyk", 0, REG_SZ, reinterpret_cast<const BYTE*>("en"), 3);
    RegCloseKey(shared);
  }
  void TearDown() override {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kEntry);
    HKEY shared = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wspolne", 0, KEY_ALL_ACCESS, &shared) == ERROR_SUCCESS) {
      RegDeleteValueA(shared, "Jezyk");
      RegCloseKey(shared);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Wspolne");
  }
  DWORD Run(const std::string& commandLine, int timeoutMs = 60000) {
    PROCESS_INFORMATION process = StartProcess(commandLine);
    return WaitForExit(process, timeoutMs);
  }
  DWORD Install(const std::string& more = "") {
    return Run("\"" + medium.Medium() + "setuvane.exe\" /VERYSILENT \"/DIR=" + WinPath(target) + "\"" + more);
  }
  std::string RegistryExport(const char* root) {
    const std::string file = WinPath(medium.Path() / "export.reg");
    std::filesystem::remove(medium.Path() / "export.reg");
    EXPECT_EQ(Run("reg.exe export " + std::string(root) + " \"" + file + "\" /y"), 0u) << root;
    // The export is UTF-16 of ASCII names here; Wine's own keys, which Wine
    // changes as programs come and go, are left out.
    std::string text;
    for (char c : ReadFile(medium.Path() / "export.reg"))
      if (c != '\0') text += c;
    std::string kept;
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find("\r\n\r\n", at);
      end = end == std::string::npos ? text.size() : end + 4;
      const std::string section = text.substr(at, end - at);
      if (section.find("\\Software\\Wine") == std::string::npos) kept += section;
      at = end;
    }
    return kept;
  }
  // The program folder and the Start menu (the shortcut's folder).
  std::vector<std::filesystem::path> Roots() {
    HKEY folders = nullptr;
    char menu[MAX_PATH] = "";
    DWORD size = sizeof menu;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                  KEY_READ, &folders);
    RegQueryValueExA(folders, "Start Menu", nullptr, nullptr, reinterpret_cast<BYTE*>(menu), &size);
    RegCloseKey(folders);
    EXPECT_NE(menu[0], '\0');
    return {medium.Path() / "Produkt", menu};
  }
  void Screenshot(const char* name) {
    const char* folder = std::getenv("SETUVANE_SCREENSHOTS");
    if (!folder) return;
    Sleep(300);
    SaveScreen(std::string(folder) + "\\" + name + ".bmp");
  }

  TestMedium medium;
  std::filesystem::path target;
};

TEST_F(Uninstaller, RemovesWhatTheInstallationMadeAsADeploymentToolRunsIt) {
  std::filesystem::create_directories(target);
  WriteFile(target / "USTAWIENIA.INF", {'o', 'l', 'd'});  // the user's: kept at installation
  const std::map<std::string, std::string> treeBefore = Tree(Roots());
  const std::string userBefore = RegistryExport("HKEY_CURRENT_USER");
  const std::string machineBefore = RegistryExport("HKEY_LOCAL_MACHINE\\Software");

  ASSERT_EQ(Install(), 0u);
  // The entry that Windows' list of programs and deployment tools read.
  const std::string uninstaller = WinPath(target) + "\\uninstall.exe";
  EXPECT_EQ(EntryText("DisplayName"), "Produkt Testowy");
  EXPECT_EQ(EntryText("DisplayVersion"), "2.5");
  EXPECT_EQ(EntryText("Publisher"), "Firma");
  EXPECT_EQ(EntryText("UninstallString"), "\"" + uninstaller + "\" /UNINSTALL");
  EXPECT_EQ(EntryText("InstallLocation"), WinPath(target) + "\\");
  EXPECT_EQ(EntryText("InstallDate").size(), 8u);
  EXPECT_TRUE(std::filesystem::exists(target / "uninstall.exe"));
  // Installed again, the same entry gathers what both runs made.
  ASSERT_EQ(Install(), 0u);
  WriteFile(target / "opcje.inf", {'m', 'i', 'n', 'e'});  // changed by the user since

  const std::string quiet = EntryText("QuietUninstallString");
  ASSERT_EQ(quiet, "\"" + uninstaller + "\" /UNINSTALL /VERYSILENT");
  EXPECT_EQ(Run(quiet), 0u);

  std::map<std::string, std::string> expected = treeBefore;
  expected[(target / "opcje.inf").string()] = "mine";
  EXPECT_EQ(Tree(Roots()), expected);
  EXPECT_EQ(RegistryExport("HKEY_CURRENT_USER"), userBefore);
  EXPECT_EQ(RegistryExport("HKEY_LOCAL_MACHINE\\Software"), machineBefore);
  EXPECT_EQ(EntryText("DisplayName"), "");
}

TEST_F(Uninstaller, AskedAndWalkedWithRealInput) {
  ASSERT_EQ(Install(), 0u);
  PROCESS_INFORMATION process = StartProcess(EntryText("UninstallString"));
  HWND question = WaitForControl(nullptr, L"TfrmMessageDialog", L"", 30000);
  ASSERT_NE(question, nullptr);
  EXPECT_NE(FindWindowW(L"TfrmUninstall", L"Produkt Testowy"), nullptr);
  Screenshot("uninstall-question");
  ClickOn(WaitForControl(question, L"SetuvanePlainButton", L"Tak"));
  HWND notice = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (notice = FindWindowW(L"TfrmMessageDialog", nullptr)) && notice != question; }, 30000));
  EXPECT_NE(ControlText(WaitForControl(notice, L"SetuvaneStaticMemo")).find(L"została usunięta"), std::wstring::npos);
  Screenshot("uninstall-done");
  ClickOn(WaitForControl(notice, L"SetuvanePlainButton", L"OK"));
  EXPECT_EQ(WaitForExit(process), 0u);
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST_F(Uninstaller, SaysNoAndKeepsEverything) {
  ASSERT_EQ(Install(), 0u);
  PROCESS_INFORMATION process = StartProcess(EntryText("UninstallString"));
  HWND question = WaitForControl(nullptr, L"TfrmMessageDialog", L"", 30000);
  ASSERT_NE(question, nullptr);
  ClickOn(WaitForControl(question, L"SetuvanePlainButton", L"Nie"));
  EXPECT_EQ(WaitForExit(process), 5u);
  EXPECT_EQ(ReadFile(target / "app.exe"), "program");
  EXPECT_EQ(EntryText("DisplayName"), "Produkt Testowy");
}

TEST_F(Uninstaller, AFileHeldOpenIsRemovedAtTheNextRestart) {
  ASSERT_EQ(Install(), 0u);
  const std::string held = WinPath(target) + "\\app.exe";
  HANDLE file = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const std::string log = WinPath(medium.Path() / "usuwanie.log");
  EXPECT_EQ(Run(EntryText("QuietUninstallString") + " /LOG=\"" + log + "\""), 3010u);
  CloseHandle(file);
  EXPECT_EQ(EntryText("DisplayName"), "");
  EXPECT_NE(ReadFile(medium.Path() / "usuwanie.log").find("in use, removed at the next restart: " + held),
            std::string::npos);
  HKEY session = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ,
                          &session),
            ERROR_SUCCESS);
  std::string pending(65536, '\0');
  DWORD size = static_cast<DWORD>(pending.size());
  RegQueryValueExA(session, "PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(pending.data()),
                   &size);
  RegCloseKey(session);
  EXPECT_NE(pending.find(held.substr(2)), std::string::npos);
}

// A relative /LOG names a file in the caller's folder, not one in the temporary
// folder where the uninstaller's copy runs; where no copy can be made (here: a
// temporary folder that does not exist) the log says so.
TEST_F(Uninstaller, ARelativeLogIsTheCallersAndIsWrittenEvenWithoutACopy) {
  ASSERT_EQ(Install(), 0u);
  const std::string command = "\"" + WinPath(target) + "\\uninstall.exe\" /UNINSTALL /VERYSILENT /LOG=usuwanie.log";
  char temp[MAX_PATH] = "", tmp[MAX_PATH] = "";
  GetEnvironmentVariableA("TEMP", temp, MAX_PATH);
  GetEnvironmentVariableA("TMP", tmp, MAX_PATH);
  SetEnvironmentVariableA("TEMP", "Q:\\brak");
  SetEnvironmentVariableA("TMP", "Q:\\brak");
  PROCESS_INFORMATION withoutCopy = StartProcess(command, WinPath(medium.Path()));
  const DWORD code = WaitForExit(withoutCopy, 60000);
  SetEnvironmentVariableA("TEMP", temp);
  SetEnvironmentVariableA("TMP", tmp);
  EXPECT_EQ(code, 4u);
  const std::string failed = ReadFile(medium.Path() / "usuwanie.log");
  EXPECT_NE(failed.find("uninstaller not started"), std::string::npos) << failed;
  EXPECT_NE(failed.find("exit code 4"), std::string::npos) << failed;
  EXPECT_TRUE(std::filesystem::exists(target / "app.exe"));

  PROCESS_INFORMATION removal = StartProcess(command, WinPath(medium.Path()));
  EXPECT_EQ(WaitForExit(removal, 60000), 0u);
  EXPECT_NE(ReadFile(medium.Path() / "usuwanie.log").find("exit code 0"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(target / "app.exe"));
}

// Stopped at once (as by a power cut or Task Manager) after some of its changes were
// recorded, and so perhaps made: after the product files' batch, between registry
// keys and values, before the shortcut. Each time the entry removes everything the
// run made, and the product installs again.
TEST_F(Uninstaller, AnInstallationStoppedAtAnyPointIsRemovedWhole) {
  std::filesystem::create_directories(target);
  WriteFile(target / "moje.txt", {'m', 'i', 'n', 'e'});  // the user's, before any installation
  const std::map<std::string, std::string> treeBefore = Tree(Roots());
  const std::string userBefore = RegistryExport("HKEY_CURRENT_USER");
  const std::string machineBefore = RegistryExport("HKEY_LOCAL_MACHINE\\Software");
  // The changes one whole installation records (earlier tests may have left some
  // of them made already): the stops fall after the files, among the registry's
  // keys and values, and before the shortcut.
  ASSERT_EQ(Install(), 0u);
  const std::string record = ReadFile(target / "uninstall.dat");
  const int changes = static_cast<int>(std::count(record.begin(), record.end(), '\n')) - 3;  // heading, product, end
  ASSERT_EQ(Run(EntryText("QuietUninstallString")), 0u);
  ASSERT_GE(changes, 10);
  for (const int stop : {1, changes - 6, changes - 3, changes - 2, changes - 1}) {
    const std::string items = std::to_string(stop);
    SetEnvironmentVariableA("SETUVANE_END_AFTER_RECORDED", items.c_str());
    const DWORD stopped = Install();
    SetEnvironmentVariableA("SETUVANE_END_AFTER_RECORDED", nullptr);
    EXPECT_EQ(stopped, 9u) << items;
    EXPECT_EQ(Run(EntryText("QuietUninstallString")), 0u) << items;
    EXPECT_EQ(Tree(Roots()), treeBefore) << items;
    EXPECT_EQ(RegistryExport("HKEY_CURRENT_USER"), userBefore) << items;
    EXPECT_EQ(RegistryExport("HKEY_LOCAL_MACHINE\\Software"), machineBefore) << items;
    ASSERT_EQ(Install(), 0u) << items;
    EXPECT_EQ(ReadFile(target / "app.exe"), "program");
    EXPECT_EQ(Run(EntryText("QuietUninstallString")), 0u) << items;
  }
}

// Killed from outside while its many files are written, one of them half-written:
// the record listed them first, so the removal leaves nothing of them.
TEST_F(Uninstaller, AnInstallationKilledWhileWritingItsFilesIsRemovedWhole) {
  std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
  package[0] = MediumEntry("install.inf", "INSTALL_MAIN_TITLE=Produkt Testowy\r\nPRODUCT_PUBLISHER=Firma\r\n");
  for (int i = 0; i < 600; ++i)
    package.push_back(MediumEntry("dane/plik" + std::to_string(i) + ".txt", std::string(20000, char('a' + i % 26)),
                                  "<programfolder>dane\\" + std::to_string(i / 100)));
  medium.WritePackage(package);
  const std::map<std::string, std::string> treeBefore = Tree(Roots());
  PROCESS_INFORMATION process =
      StartProcess("\"" + medium.Medium() + "setuvane.exe\" /VERYSILENT \"/DIR=" + WinPath(target) + "\"");
  // Past the first batch of files, into the second.
  while (!std::filesystem::exists(target / "dane" / "3" / "plik350.txt")) {
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 1), static_cast<DWORD>(WAIT_TIMEOUT)) << "it ended first";
  }
  TerminateProcess(process.hProcess, 9);
  EXPECT_EQ(WaitForExit(process), 9u);
  EXPECT_EQ(Run(EntryText("QuietUninstallString")), 0u);
  EXPECT_EQ(Tree(Roots()), treeBefore);
  EXPECT_EQ(EntryText("DisplayName"), "");
}

// Installed again before the restart that removal asked for, the product keeps its
// files past that restart: its removals are taken out of the system's list, and
// every other entry there stays as it was.
TEST_F(Uninstaller, InstalledAgainBeforeTheRestartItsFilesOutlastIt) {
  ASSERT_EQ(Install(), 0u);
  const std::string held = WinPath(target) + "\\app.exe";
  HANDLE file = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Run(EntryText("QuietUninstallString")), 3010u);
  CloseHandle(file);
  const std::u16string before = PendingRenames();
  const std::u16string folder = Utf8ToUtf16(WinPath(target));
  ASSERT_NE(before.find(Utf8ToUtf16(held)), std::u16string::npos);

  const std::string log = WinPath(medium.Path() / "instalacja.log");
  ASSERT_EQ(Install(" /LOG=\"" + log + "\""), 0u);
  // What stays: each pair (source, target) but the removals of the product's paths.
  std::u16string expected;
  for (size_t at = 0; at < before.size();) {
    const size_t sourceEnd = before.find(u'\0', at);
    if (sourceEnd == std::u16string::npos || sourceEnd == at) {
      expected += before.substr(at);
      break;
    }
    const size_t targetEnd = before.find(u'\0', sourceEnd + 1);
    if (targetEnd == std::u16string::npos) {
      expected += before.substr(at);
      break;
    }
    const std::u16string source = before.substr(at, sourceEnd - at);
    if (targetEnd != sourceEnd + 1 || source.find(folder) == std::u16string::npos)
      expected += before.substr(at, targetEnd + 1 - at);
    at = targetEnd + 1;
  }
  EXPECT_EQ(PendingRenames(), expected);
  EXPECT_NE(ReadFile(medium.Path() / "instalacja.log").find("no longer removed or replaced at the next restart: " + held),
            std::string::npos);
  EXPECT_EQ(ReadFile(target / "app.exe"), "program");
}

// A folder of the product replaced by a link to someone else's folder: what lies
// there stays, the rest goes, and the run ends as a whole one.
TEST_F(Uninstaller, NothingIsRemovedThroughAFolderLink) {
  ASSERT_EQ(Install(), 0u);
  std::filesystem::remove_all(target / "doc" / "sub");
  std::filesystem::create_directories(medium.Path() / "cudzy");
  WriteFile(medium.Path() / "cudzy" / "readme.txt", {'c', 'u', 'd', 'z', 'y'});
  if (!fakes::MakeUnixSymlink(medium.Path() / "cudzy", target / "doc" / "sub")) GTEST_SKIP() << "no Unix side";
  const std::string log = WinPath(medium.Path() / "usuwanie.log");
  EXPECT_EQ(Run(EntryText("QuietUninstallString") + " /LOG=\"" + log + "\""), 0u);
  EXPECT_EQ(ReadFile(medium.Path() / "cudzy" / "readme.txt"), "cudzy");
  EXPECT_NE(ReadFile(medium.Path() / "usuwanie.log")
                .find("stayed: " + WinPath(target) + "\\doc\\sub\\readme.txt (a junction or symbolic link on the way: " +
                      WinPath(target) + "\\doc\\sub)"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(target / "app.exe"));
  EXPECT_EQ(EntryText("DisplayName"), "");
  EXPECT_TRUE(fakes::RemoveUnixSymlink(target / "doc" / "sub"));
}

// One of the account's shell folders as the registry holds it (its type and bytes;
// none when it is missing), so that a test can put back exactly what it changed.
struct ShellFolderValue {
  const char* key;
  std::optional<std::pair<DWORD, std::string>> held;

  static ShellFolderValue Read(const char* key) {
    HKEY folders = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &folders);
    DWORD type = 0, size = 0;
    std::optional<std::pair<DWORD, std::string>> held;
    if (RegQueryValueExA(folders, "Desktop", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
      std::string data(size, '\0');
      RegQueryValueExA(folders, "Desktop", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
      held.emplace(type, data);
    }
    RegCloseKey(folders);
    return {key, held};
  }
  void Write(const std::optional<std::pair<DWORD, std::string>>& value) const {
    HKEY folders = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &folders, nullptr);
    if (value) {
      RegSetValueExA(folders, "Desktop", 0, value->first, reinterpret_cast<const BYTE*>(value->second.data()),
                     DWORD(value->second.size()));
    } else {
      RegDeleteValueA(folders, "Desktop");
    }
    RegCloseKey(folders);
  }
};

// A new Wine prefix links the user's Desktop to the Unix home folder, as a user
// who moved Desktop to another drive with a junction has it: the product's
// shortcut there goes through the link, being still as written. A link planted
// inside the program folder stops the removal even where what lies behind it is
// exactly the product's file.
TEST_F(Uninstaller, TheDesktopShortcutGoesThroughALinkButNothingGoesThroughOneInTheProgramFolder) {
  const ShellFolderValue desktops[] = {
      ShellFolderValue::Read("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"),
      ShellFolderValue::Read("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders")};
  std::filesystem::create_directories(medium.Path() / "home");
  std::filesystem::create_directories(medium.Path() / "profile");
  if (!fakes::MakeUnixSymlink(medium.Path() / "home", medium.Path() / "profile" / "Desktop"))
    GTEST_SKIP() << "no Unix side";
  const std::string desktop = WinPath(medium.Path() / "profile" / "Desktop");
  for (const ShellFolderValue& value : desktops) value.Write(std::pair<DWORD, std::string>(REG_SZ, desktop + '\0'));
  std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
  package[0] = MediumEntry("install.inf", "INSTALL_MAIN_TITLE=Produkt Testowy\r\nPRODUCT_PUBLISHER=Firma\r\n");
  package[4] = MediumEntry("shortcut.inf", "{<desktopfolder>Produkt.lnk\r\n-lnk=<programfolder>app.exe\r\n}\r\n");
  package.push_back(MediumEntry("app.exe", "program", "<programfolder>"));
  package.push_back(MediumEntry("readme.txt", "documentation", "<programfolder>doc\\sub"));
  medium.WritePackage(package);
  const DWORD installed = Install();
  const bool shortcutWritten = std::filesystem::exists(medium.Path() / "home" / "Produkt.lnk");
  std::filesystem::remove_all(target / "doc" / "sub");
  std::filesystem::create_directories(medium.Path() / "kopia");
  WriteFile(medium.Path() / "kopia" / "readme.txt", archive::testing::ToBytes("documentation"));
  const bool planted = fakes::MakeUnixSymlink(medium.Path() / "kopia", target / "doc" / "sub");
  const DWORD removed = Run(EntryText("QuietUninstallString"));
  for (const ShellFolderValue& value : desktops) value.Write(value.held);
  EXPECT_TRUE(fakes::RemoveUnixSymlink(medium.Path() / "profile" / "Desktop"));
  ASSERT_EQ(installed, 0u);
  ASSERT_TRUE(shortcutWritten);
  ASSERT_TRUE(planted);
  EXPECT_EQ(removed, 0u);
  EXPECT_FALSE(std::filesystem::exists(medium.Path() / "home" / "Produkt.lnk"));
  EXPECT_EQ(ReadFile(medium.Path() / "kopia" / "readme.txt"), "documentation");
  EXPECT_FALSE(std::filesystem::exists(target / "app.exe"));
  EXPECT_EQ(EntryText("DisplayName"), "");
  EXPECT_TRUE(fakes::RemoveUnixSymlink(target / "doc" / "sub"));
}

// The count of a file among the shared files (0: none).
DWORD SharedCount(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  DWORD count = 0;
  DWORD size = sizeof count;
  if (RegQueryValueExA(key, path.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&count), &size) != ERROR_SUCCESS)
    count = 0;
  RegCloseKey(key);
  return count;
}

void DeleteSharedCount(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, path.c_str());
  RegCloseKey(key);
}

// Where 32-bit programs go, as the system registers it.
std::string ProgramFilesFolder() {
  char programs[MAX_PATH] = "";
  DWORD size = sizeof programs;
  HKEY version = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ, &version);
  RegQueryValueExA(version, "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(programs), &size);
  RegCloseKey(version);
  return programs;
}

// The command a deployment tool runs to remove the product of that entry key.
std::string QuietUninstallOf(const std::string& entryKey) {
  HKEY key = nullptr;
  char command[1024] = "";
  DWORD length = sizeof command;
  const std::string entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + entryKey;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, entry.c_str(), 0, KEY_READ, &key);
  RegQueryValueExA(key, "QuietUninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(command), &length);
  RegCloseKey(key);
  return command;
}

// Products A and B of one maker both put wspolny.dll into the system folder, where
// another program had put its own without a count, and wspolne.txt into a folder
// of their own outside both program folders. Removing A leaves both to B; removing
// B then takes wspolne.txt, which they made, and leaves wspolny.dll to the program
// that had it first.
TEST_F(Uninstaller, TwoProductsShareFilesOutsideTheirFolders) {
  char system[MAX_PATH] = "";
  ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
  const std::string dll = std::string(system) + "\\wspolny.dll";
  const std::string common = ProgramFilesFolder() + "\\Wspolne Testowe";
  const std::string text = common + "\\wspolne.txt";
  DeleteSharedCount(dll);
  DeleteSharedCount(text);
  DeleteFileA(text.c_str());
  WriteFile(dll, {'c', 'u', 'd', 'z', 'y'});
  const auto install = [&](const char* product) {
    std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
    package[0] = MediumEntry("install.inf", std::string("INSTALL_MAIN_TITLE=Produkt ") + product +
                                                "\r\nPRODUCT_PUBLISHER=Firma\r\nPRODUCT_ID=Testowy-" + product + "\r\n");
    package.push_back(MediumEntry("app.exe", "program", "<programfolder>"));
    package.push_back(MediumEntry("wspolny.dll", "biblioteka", "<systemfolder>"));
    package.push_back(MediumEntry("wspolne.txt", "wspolne", "<programsfolder>Wspolne Testowe"));
    medium.WritePackage(package);
    return Run("\"" + medium.Medium() + "setuvane.exe\" /VERYSILENT \"/DIR=" + WinPath(medium.Path() / product) + "\"");
  };
  const auto uninstall = [&](const char* product) { return Run(QuietUninstallOf(std::string("Testowy-") + product)); };
  ASSERT_EQ(install("A"), 0u);
  ASSERT_EQ(install("B"), 0u);
  EXPECT_EQ(SharedCount(dll), 3u);  // 1 for the program before them
  EXPECT_EQ(SharedCount(text), 2u);
  EXPECT_EQ(uninstall("A"), 0u);
  EXPECT_EQ(ReadFile(dll), "biblioteka");
  EXPECT_EQ(ReadFile(text), "wspolne");
  EXPECT_EQ(SharedCount(dll), 2u);
  EXPECT_EQ(SharedCount(text), 1u);
  EXPECT_FALSE(std::filesystem::exists(medium.Path() / "A" / "app.exe"));
  EXPECT_EQ(uninstall("B"), 0u);
  EXPECT_EQ(ReadFile(dll), "biblioteka");
  EXPECT_EQ(SharedCount(dll), 1u);
  EXPECT_EQ(GetFileAttributesA(text.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(SharedCount(text), 0u);
  DeleteFileA(dll.c_str());
  DeleteFileA(text.c_str());
  DeleteSharedCount(dll);
  DeleteSharedCount(text);
  RemoveDirectoryA(common.c_str());
}

// Products A and B install the same 100 files into a folder of their own outside
// both program folders. A's removal is stopped at once after some of its counts
// went down (as a deployment tool's time-out or Task Manager stops it), then run
// again, as the README invites: every file stays for B and no count is below B's
// own; a stop leaves at most the counts of the batch under way one too high.
TEST_F(Uninstaller, ARemovalStoppedAndRunAgainLeavesAnotherProductsSharedFiles) {
  constexpr int kFiles = 100;
  const std::string common = ProgramFilesFolder() + "\\Wspolne Wielokrotne";
  const auto file = [&](int i) { return common + "\\plik" + std::to_string(i) + ".txt"; };
  for (int i = 0; i < kFiles; ++i) DeleteSharedCount(file(i));
  const auto command = [](const char* product) { return QuietUninstallOf(std::string("Wielokrotny-") + product); };
  for (const char* product : {"A", "B"}) {
    std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
    package[0] = MediumEntry("install.inf", std::string("INSTALL_MAIN_TITLE=Produkt ") + product +
                                                "\r\nPRODUCT_ID=Wielokrotny-" + product + "\r\n");
    for (int i = 0; i < kFiles; ++i)
      package.push_back(MediumEntry("plik" + std::to_string(i) + ".txt", "wspolny " + std::to_string(i),
                                    "<programsfolder>Wspolne Wielokrotne"));
    medium.WritePackage(package);
    const std::string folder = WinPath(medium.Path() / product);
    ASSERT_EQ(Run("\"" + medium.Medium() + "setuvane.exe\" /VERYSILENT \"/DIR=" + folder + "\""), 0u);
  }
  ASSERT_EQ(SharedCount(file(0)), 2u);
  SetEnvironmentVariableA("SETUVANE_END_AFTER_UNDONE", "80");
  const DWORD stopped = Run(command("A"));
  SetEnvironmentVariableA("SETUVANE_END_AFTER_UNDONE", nullptr);
  EXPECT_EQ(stopped, 9u);
  EXPECT_EQ(Run(command("A")), 0u);
  int oneTooHigh = 0;
  for (int i = 0; i < kFiles; ++i) {
    EXPECT_EQ(ReadFile(file(i)), "wspolny " + std::to_string(i)) << i;
    const DWORD count = SharedCount(file(i));
    EXPECT_TRUE(count == 1 || count == 2) << i << ": " << count;
    oneTooHigh += count == 2;
  }
  EXPECT_LE(oneTooHigh, 64);
  EXPECT_EQ(Run(command("B")), 0u);
  for (int i = 0; i < kFiles; ++i) {
    EXPECT_EQ(GetFileAttributesA(file(i).c_str()) != INVALID_FILE_ATTRIBUTES, SharedCount(file(i)) == 1) << i;
    DeleteFileA(file(i).c_str());
    DeleteSharedCount(file(i));
  }
  RemoveDirectoryA(common.c_str());
}

// Installed by this account and again as another (Wine has one account: the
// other's SID given through the variable), the record names each account before
// its HKEY_CURRENT_USER items. Removed by this account: its own items are undone,
// the other's, whose registry is not loaded, stay, and nothing of this account's
// registry is touched for them.
TEST_F(Uninstaller, AnotherAccountsCurrentUserItemsStayWhenItsRegistryIsNotLoaded) {
  const std::string userBefore = RegistryExport("HKEY_CURRENT_USER");
  ASSERT_EQ(Install(), 0u);
  SetEnvironmentVariableA("SETUVANE_USER_SID", "S-1-5-21-7-7-7-1001");
  const DWORD again = Install();
  SetEnvironmentVariableA("SETUVANE_USER_SID", nullptr);
  ASSERT_EQ(again, 0u);
  const std::string record = ReadFile(target / "uninstall.dat");
  EXPECT_NE(record.find("\r\nuser\tS-1-5-21-"), std::string::npos);  // this account's, as Windows writes a SID
  EXPECT_NE(record.find("\r\nuser\tS-1-5-21-7-7-7-1001\t"), std::string::npos);
  const std::string log = WinPath(medium.Path() / "usuwanie.log");
  EXPECT_EQ(Run(EntryText("QuietUninstallString") + " /LOG=\"" + log + "\""), 0u);
  EXPECT_EQ(RegistryExport("HKEY_CURRENT_USER"), userBefore);
  EXPECT_NE(ReadFile(medium.Path() / "usuwanie.log")
                .find("stayed: HKEY_CURRENT_USER\\Software\\Wspolne \"Jezyk\" (in the registry of the account that "
                      "installed it, S-1-5-21-7-7-7-1001, which is not loaded)"),
            std::string::npos);
  EXPECT_EQ(EntryText("DisplayName"), "");
}

// Version 1.0, then 2.0, of one product (PRODUCT_ID) of many files, each file
// holding its version; the registry script writes the version too.
class Update : public Uninstaller {
 protected:
  void WriteVersion(const std::string& version, int files, bool withShortcuts = true) {
    std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
    package[0] = MediumEntry("install.inf",
                             "INSTALL_TASK_TITLE=Instalator Testowy\r\nINSTALL_MAIN_TITLE=Produkt Testowy\r\n"
                             "PRODUCT_PUBLISHER=Firma\r\nPRODUCT_ID=Firma Produkt Testowy\r\nPRODUCT_VERSION=" +
                                 version + "\r\n");
    package[3] = MediumEntry("registry.inf", "+hlm\\Software\\Firma Testowa\\Produkt\r\n-str:Wersja=" + version + "\r\n");
    if (!withShortcuts) package.erase(package.begin() + 4);  // the step fails: its script is missing
    for (int i = 0; i < files; ++i)
      package.push_back(MediumEntry("plik" + std::to_string(i) + ".txt", version + std::string(20000, char('a' + i % 26)),
                                    "<programfolder>dane"));
    medium.WritePackage(package);
  }
  std::filesystem::path File(int i) { return target / "dane" / ("plik" + std::to_string(i) + ".txt"); }
  // The numbers of the files whose version is not `version`.
  std::vector<int> NotOf(const std::string& version, int files) {
    std::vector<int> others;
    for (int i = 0; i < files; ++i)
      if (ReadFile(File(i)).rfind(version, 0) != 0) others.push_back(i);
    return others;
  }
  // What the installation kept aside (folders svNNNNN.old and the files in them)
  // or left waiting (~svNNNNN.new).
  int KeptFiles() {
    int kept = 0;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(target / "dane", error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
      const std::string name = it->path().filename().string(), folder = it->path().parent_path().filename().string();
      const auto aside = [](const std::string& n) { return n.rfind("sv", 0) == 0 && n.ends_with(".old"); };
      kept += name.rfind("~sv", 0) == 0 || aside(name) || aside(folder);
    }
    return kept;
  }
  std::string Log() { return ReadFile(medium.Path() / "aktualizacja.log"); }
  std::string LogSwitch() { return " /LOG=\"" + WinPath(medium.Path() / "aktualizacja.log") + "\""; }
};

// A program holds one file open without sharing: unattended, the update ends with
// 3010 and the log names the file; the restart (Wine's wineboot -r performs the
// pending renames) puts 2.0 in its place. The removal then leaves nothing. Enough
// files that the kept ones are deleted on two threads.
TEST_F(Update, AFileInUseIsReplacedAtTheRestart) {
  constexpr int kFiles = 300;
  const std::map<std::string, std::string> treeBefore = Tree(Roots());
  const std::string machineBefore = RegistryExport("HKEY_LOCAL_MACHINE\\Software");
  WriteVersion("1.0", kFiles);
  ASSERT_EQ(Install(), 0u);
  const std::string held = WinPath(File(150));
  HANDLE file = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  WriteVersion("2.0", kFiles);
  EXPECT_EQ(Install(LogSwitch()), 3010u);
  CloseHandle(file);
  EXPECT_EQ(NotOf("2.0", kFiles), std::vector<int>{150});
  EXPECT_NE(Log().find("in use, replaced at the next restart: " + held), std::string::npos) << Log();
  EXPECT_EQ(EntryText("DisplayVersion"), "2.0");
  EXPECT_EQ(Run("wineboot.exe -r"), 0u);
  EXPECT_EQ(NotOf("2.0", kFiles), std::vector<int>{});
  EXPECT_EQ(KeptFiles(), 0);

  // Held again by 3.0, then 4.0 installed before the restart: the file 3.0 left
  // waiting does not come over 4.0's.
  file = CreateFileA(WinPath(File(151)).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  WriteVersion("3.0", kFiles);
  EXPECT_EQ(Install(), 3010u);
  CloseHandle(file);
  WriteVersion("4.0", kFiles);
  EXPECT_EQ(Install(), 0u);
  EXPECT_EQ(Run("wineboot.exe -r"), 0u);
  EXPECT_EQ(NotOf("4.0", kFiles), std::vector<int>{});
  EXPECT_EQ(Run(EntryText("QuietUninstallString")), 0u);
  EXPECT_EQ(Tree(Roots()), treeBefore);
  EXPECT_EQ(RegistryExport("HKEY_LOCAL_MACHINE\\Software"), machineBefore);
}

// A file that cannot be written half-way through the files, then a step after the
// registry's that fails: each time every file is 1.0 again, and so are the value
// and the entry.
TEST_F(Update, AFailureHalfWayLeavesTheEarlierVersionWhole) {
  WriteVersion("1.0", 40);
  ASSERT_EQ(Install(), 0u);
  const std::map<std::string, std::string> tree = Tree(Roots());
  const std::string machine = RegistryExport("HKEY_LOCAL_MACHINE\\Software");
  WriteVersion("2.0", 40);
  std::filesystem::remove(File(25));
  std::filesystem::create_directories(File(25));  // a folder where the file goes
  EXPECT_EQ(Install(LogSwitch()), 4u);
  std::filesystem::remove(File(25));
  WriteFile(File(25), ToBytes("1.0" + std::string(20000, char('a' + 25 % 26))));
  EXPECT_EQ(Tree(Roots()), tree);
  EXPECT_NE(Log().find("Wprowadzone zmiany zostały wycofane."), std::string::npos) << Log();

  WriteVersion("2.0", 40, /*withShortcuts=*/false);
  EXPECT_EQ(Install(LogSwitch()), 4u);
  EXPECT_EQ(Tree(Roots()), tree);
  EXPECT_EQ(RegistryExport("HKEY_LOCAL_MACHINE\\Software"), machine);
  EXPECT_EQ(EntryText("DisplayVersion"), "1.0");
  EXPECT_NE(Log().find("Wprowadzone zmiany zostały wycofane."), std::string::npos) << Log();
  EXPECT_EQ(Run(EntryText("QuietUninstallString")), 0u);
}

// Killed while it writes 2.0 over 1.0: the next start undoes the run first, then
// installs 2.0 whole; the removal then leaves nothing.
TEST_F(Update, AnUpdateKilledHalfWayIsUndoneByTheNextStart) {
  const std::map<std::string, std::string> treeBefore = Tree(Roots());
  WriteVersion("1.0", 400);
  ASSERT_EQ(Install(), 0u);
  WriteVersion("2.0", 400);
  PROCESS_INFORMATION process =
      StartProcess("\"" + medium.Medium() + "setuvane.exe\" /VERYSILENT \"/DIR=" + WinPath(target) + "\"");
  // Counted by their names: a file the test opened could not be moved aside.
  while (KeptFiles() < 200)
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 1), static_cast<DWORD>(WAIT_TIMEOUT)) << "it ended first";
  TerminateProcess(process.hProcess, 9);
  EXPECT_EQ(WaitForExit(process), 9u);
  EXPECT_FALSE(NotOf("1.0", 400).empty());
  EXPECT_FALSE(NotOf("2.0", 400).empty());  // a mix, until the next start

  EXPECT_EQ(Install(LogSwitch()), 0u);
  EXPECT_NE(Log().find("the installation's changes were undone"), std::string::npos) << Log();
  EXPECT_EQ(NotOf("2.0", 400), std::vector<int>{});
  EXPECT_EQ(KeptFiles(), 0);
  EXPECT_EQ(EntryText("DisplayVersion"), "2.0");
  EXPECT_EQ(Run(EntryText("QuietUninstallString")), 0u);
  EXPECT_EQ(Tree(Roots()), treeBefore);
}

}  // namespace
}  // namespace setuvane
