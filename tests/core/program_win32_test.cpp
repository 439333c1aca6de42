// The installer program itself, started from a medium the test makes and walked
// from another process with real input, as a person would: the pages, the folder
// checks, the product files on the disk, the overwrite question, a corrupt entry
// and a missing package. With SETUVANE_SCREENSHOTS set to a folder, a picture of
// each page is saved there (page1.bmp ... page6.bmp).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "core/program/dll_search_win32.h"
#include "pe/pe_layout.h"
#include "tests/core/installer_driver_win32.h"
#include "tests/core/test_medium.h"
#include "tests/dialogs/window_driver_win32.h"

namespace setuvane {
namespace {

using archive::testing::ReadFile;
using archive::testing::WinPath;
using archive::testing::ToBytes;
using archive::testing::WriteFile;
using fakes::MediumEntry;
using fakes::StartablePackage;
using fakes::TestMedium;
using namespace testing;

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileA(WinePath(SETUVANE_EXE).c_str(), (medium.Medium() + "setuvane.exe").c_str(), FALSE));
  }
  void TearDown() override {
    if (process.hProcess) WaitForExit(process, 1000);
  }
  void Start(const std::string& switches = "") {
    process = StartProcess("\"" + medium.Medium() + "setuvane.exe\"" + (switches.empty() ? "" : " " + switches));
  }
  // The log's lines without their time stamps.
  std::vector<std::string> LogLines(const std::filesystem::path& log) {
    std::vector<std::string> lines;
    std::string text = ReadFile(log);
    for (size_t at = 0; at < text.size();) {
      const size_t end = text.find("\r\n", at);
      const std::string line = text.substr(at, end - at);
      lines.push_back(line.size() > 21 ? line.substr(21) : line);
      if (end == std::string::npos) break;
      at = end + 2;
    }
    return lines;
  }
  HWND Installer() { return WaitForControl(nullptr, L"TfrmDefaultInterface", L"", 30000); }
  void Screenshot(HWND window, const char* name, int settleMs = 300) {
    const char* folder = std::getenv("SETUVANE_SCREENSHOTS");
    if (!folder) return;
    UpdateWindow(window);
    Sleep(settleMs);
    SaveScreen(std::string(folder) + "\\" + name + ".bmp");
  }
  // Waits for a page by a control that only it shows.
  void ExpectPage(HWND installer, const wchar_t* className, const std::wstring& text = L"") {
    EXPECT_NE(WaitForControl(installer, className, text), nullptr) << "page with " << std::string(text.begin(), text.end());
  }
  void Next(HWND installer) { ClickOn(WaitForControl(installer, L"SetuvaneFlatButton", L"Następny >")); }
  // Answers the question whether to stop the installation, once it is up and written.
  void AnswerStopQuestion(const wchar_t* answer) {
    HWND question = WaitForControl(nullptr, L"TfrmMessageDialog");
    ASSERT_NE(question, nullptr);
    EXPECT_NE(WaitForControl(question, L"SetuvaneStaticMemo",
                             L"Czy na pewno chcesz przerwać instalację?\r\nInstalacja produktu nie została ukończona.", 2000),
              nullptr);
    ClickOn(WaitForControl(question, L"SetuvanePlainButton", answer));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
  }
  // Answers the problem dialog that must come up with `title` and `message`.
  void ExpectReport(const std::wstring& title, const std::wstring& message) {
    HWND report = WaitForControl(nullptr, L"TfrmInfoDialog", title);
    ASSERT_NE(report, nullptr) << "no report " << std::string(title.begin(), title.end());
    EXPECT_NE(ChildWithText(report, L"Static", message), nullptr);
    ClickOn(WaitForControl(report, L"SetuvaneFlatButton", L"Zamknij"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(report); }));
  }

  TestMedium medium;
  PROCESS_INFORMATION process{};
};

TEST_F(Program, StartsFullScreenWithThePackagesTitleAndEndsNormallyWhenClosed) {
  medium.WritePackage(StartablePackage("C:\\Aplikacja\\"));
  Start("/AUTORUN \"D:\\autorun.inf\"");  // a launcher's own arguments: the wizard runs all the same
  HWND window = Installer();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TextOf(window), L"Instalator Testowy");
  EXPECT_TRUE(WaitUntil([&] {
    const RECT r = ScreenRectOf(window);
    return r.left == 0 && r.top == 0 && r.right == GetSystemMetrics(SM_CXSCREEN) &&
           r.bottom == GetSystemMetrics(SM_CYSCREEN);
  }));
  // Alt+F4 asks as "Zamknij" does; "Nie" keeps the wizard, "Tak" ends it.
  ExpectPage(window, L"Static", L"Witamy w instalacji");
  ClickOn(WaitForControl(window, L"SetuvaneStaticMemo"));
  PressKey(VK_F4, VK_MENU);
  AnswerStopQuestion(L"Nie");
  EXPECT_TRUE(IsShown(window));
  PostMessageW(window, WM_CLOSE, 0, 0);
  AnswerStopQuestion(L"Tak");
  EXPECT_EQ(WaitForExit(process), 0u);
}

TEST_F(Program, ClosingTheWindowDuringTheInstallationChangesNothing) {
  const std::filesystem::path target = medium.Path() / "cel";
  std::filesystem::create_directories(target);
  WriteFile(target / "USTAWIENIA.INF", {'o', 'l', 'd'});
  std::vector<archive::testing::ZipEntryLayout> package = StartablePackage(WinPath(target));
  package.push_back(MediumEntry("USTAWIENIA.INF", "new settings", "<programfolder>"));
  package.push_back(MediumEntry("last.exe", "last", "<programfolder>"));
  medium.WritePackage(package);
  Start();
  HWND installer = Installer();
  ASSERT_NE(installer, nullptr);
  for (int page = 1; page <= 4; ++page) {
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(WaitForControl(installer, L"SetuvaneFlatButton", L"Następny >")); }));
    Next(installer);
  }
  // The installation waits on the overwrite question: the taskbar's "Close" and
  // a close request reach the window meanwhile.
  HWND question = WaitForControl(nullptr, L"TfrmMessageDialog");
  ASSERT_NE(question, nullptr);
  PostMessageW(installer, WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageW(installer, WM_CLOSE, 0, 0);
  Sleep(500);
  EXPECT_TRUE(IsShown(installer));
  ClickOn(WaitForControl(question, L"SetuvanePlainButton", L"Nie"));
  ExpectPage(installer, L"Static", L"Zakończenie instalacji");
  EXPECT_EQ(WaitForControl(nullptr, L"TfrmMessageDialog", L"", 500), nullptr);  // no stop question came
  EXPECT_EQ(ReadFile(target / "last.exe"), "last");
  ClickOn(WaitForControl(installer, L"SetuvaneFlatRadioButton", L"Nie, chcę teraz powrócić do systemu Windows."));
  ClickOn(WaitForControl(installer, L"SetuvaneFlatButton", L"Zamknij"));
  EXPECT_EQ(WaitForExit(process), 0u);
}

TEST_F(Program, InstallsAPackageWalkedWithRealInput) {
  const std::string target = WinPath(medium.Path() / "Produkt Testowy");
  CreateDirectoryA(target.c_str(), nullptr);
  WriteFile(medium.Path() / "Produkt Testowy" / "USTAWIENIA.INF", {'o', 'l', 'd'});
  WriteFile(medium.Path() / "Produkt Testowy" / "baza.mdb", {'o', 'l', 'd'});
  std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
  for (auto entry : {MediumEntry("bin/app.exe", "program", "<programfolder>"),
                     MediumEntry("USTAWIENIA.INF", "new settings", "<programfolder>"),
                     MediumEntry("baza.mdb", "new data", " <PROGRAMFOLDER>\\ "),
                     MediumEntry("doc/readme.txt", "documentation", "<programfolder>doc"),
                     MediumEntry("x/readme.txt", "extra", "<programfolder>\\extra")})
    package.push_back(entry);
  medium.WritePackage(package);
  Start();
  HWND installer = Installer();
  ASSERT_NE(installer, nullptr);

  ExpectPage(installer, L"Static", L"Witamy w instalacji");
  EXPECT_EQ(TextOf(installer), L"Instalator Testowy");
  Screenshot(installer, "page1");
  Next(installer);
  ExpectPage(installer, L"SysListView32");
  Screenshot(installer, "page2");
  Next(installer);
  ExpectPage(installer, L"SysListView32");
  Screenshot(installer, "page3");
  Next(installer);
  ExpectPage(installer, L"Static", L"Lokalizacja aplikacji");
  HWND folder = WaitForControl(installer, L"Edit");
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(ControlText(folder), L"C:\\Proponowany\\");
  Screenshot(installer, "page4");

  // Too short, then a drive that does not exist, then the real folder.
  ClickOn(folder);
  RetypeFocusedText(L" C:\\a ");
  Next(installer);
  ExpectReport(L"Nieprawidłowa ścieżka", L"Sprecyzowana lokalizacja aplikacji nie może zostać zaakceptowana.");
  ClickOn(folder);
  RetypeFocusedText(L"Q:\\Produkt");
  EXPECT_NE(WaitForControl(installer, L"Static", L"Dostępne miejsce: 0 MB"), nullptr);
  Next(installer);
  ExpectReport(L"Nieprawidłowy wolumin",
               L"Sprecyzowana lokalizacja aplikacji nie posiada wystarczająco dużo przestrzeni dyskowej.");
  ClickOn(folder);
  RetypeFocusedText(std::wstring(target.begin(), target.end()));
  Next(installer);

  // The settings file is kept ("Nie"), the database replaced ("Tak").
  for (const auto& [file, answer] : {std::pair{L"USTAWIENIA.INF", L"Nie"}, std::pair{L"baza.mdb", L"Tak"}}) {
    HWND question = WaitForControl(nullptr, L"TfrmMessageDialog");
    ASSERT_NE(question, nullptr);
    const std::wstring text = std::wstring(L"Zastąpić plik \"") + file +
                              L"\" nową wersją z instalatora?\r\nTen plik zawiera ustawienia lub informacje użytkownika.";
    EXPECT_NE(WaitForControl(question, L"SetuvaneStaticMemo", text, 2000), nullptr);
    if (std::wstring(file) == L"baza.mdb") Screenshot(installer, "page5");
    ClickOn(WaitForControl(question, L"SetuvanePlainButton", answer));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
  }

  ExpectPage(installer, L"Static", L"Zakończenie instalacji");
  Screenshot(installer, "page6");
  const std::filesystem::path installed = medium.Path() / "Produkt Testowy";
  EXPECT_EQ(ReadFile(installed / "app.exe"), "program");
  EXPECT_EQ(ReadFile(installed / "USTAWIENIA.INF"), "old");
  EXPECT_EQ(ReadFile(installed / "baza.mdb"), "new data");
  EXPECT_EQ(ReadFile(installed / "doc" / "readme.txt"), "documentation");
  EXPECT_EQ(ReadFile(installed / "extra" / "readme.txt"), "extra");
  EXPECT_FALSE(std::filesystem::exists(installed / "readme.txt"));
  // Stamped with the entry's date and time, read as local time: 2025-01-01 12:00:00.
  HANDLE file = CreateFileA((target + "\\app.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  FILETIME written, local;
  WORD dosDate = 0, dosTime = 0;
  GetFileTime(file, nullptr, nullptr, &written);
  CloseHandle(file);
  FileTimeToLocalFileTime(&written, &local);
  FileTimeToDosDateTime(&local, &dosDate, &dosTime);
  EXPECT_EQ(dosDate, 0x5A21);
  EXPECT_EQ(dosTime, 0x6000);

  // Leaving without the restart.
  ClickOn(WaitForControl(installer, L"SetuvaneFlatRadioButton", L"Nie, chcę teraz powrócić do systemu Windows."));
  ClickOn(WaitForControl(installer, L"SetuvaneFlatButton", L"Zamknij"));
  EXPECT_EQ(WaitForExit(process), 0u);
}

// A folder typed with Polish letters on the folder page, whatever the system's code
// page (CTest walks it again on an English Windows, code page 1252): the files of
// the package, whose names are Windows-1250, land in that very folder.
TEST_F(Program, APolishFolderTypedOnThePageTakesTheFiles) {
  std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
  package[0] = MediumEntry("install.inf",
                           "INSTALL_TASK_TITLE=Instalator Testowy\r\nINSTALL_MAIN_TITLE=Produkt Testowy\r\n"
                           "PRODUCT_LOCATION=C:\\Proponowany\\\r\nPRODUCT_UNINSTALL=NIE\r\n");
  package.push_back(
      MediumEntry("\xBF\xF3\xB3w.txt", "żółw", "<programfolder>Dane g\xEA\x9Cli"));  // żółw.txt, Dane gęśli
  medium.WritePackage(package);
  Start();
  HWND installer = Installer();
  ASSERT_NE(installer, nullptr);
  ExpectPage(installer, L"Static", L"Witamy w instalacji");
  Next(installer);
  ExpectPage(installer, L"SysListView32");
  Next(installer);
  ExpectPage(installer, L"SysListView32");
  Next(installer);
  ExpectPage(installer, L"Static", L"Lokalizacja aplikacji");
  HWND folder = WaitForControl(installer, L"Edit");
  ASSERT_NE(folder, nullptr);
  const std::filesystem::path target = medium.Path() / L"Źródła Żółwia";
  ClickOn(folder);
  RetypeFocusedText(target.wstring());
  EXPECT_EQ(ControlText(folder), target.wstring());
  Next(installer);
  ExpectPage(installer, L"Static", L"Zakończenie instalacji");
  EXPECT_EQ(ReadFile(target / L"Dane gęśli" / L"żółw.txt"), "żółw");
  ClickOn(WaitForControl(installer, L"SetuvaneFlatRadioButton", L"Nie, chcę teraz powrócić do systemu Windows."));
  ClickOn(WaitForControl(installer, L"SetuvaneFlatButton", L"Zamknij"));
  EXPECT_EQ(WaitForExit(process), 0u);
}

TEST_F(Program, ACorruptEntryIsReportedAndStopsTheInstallation) {
  const std::string target = WinPath(medium.Path() / "cel");
  std::vector<archive::testing::ZipEntryLayout> package = StartablePackage(target);
  package.push_back(MediumEntry("first.exe", "first", "<programfolder>"));
  archive::testing::ZipEntryLayout corrupt = MediumEntry("broken.dll", "contents", "<programfolder>");
  corrupt.crc = archive::testing::ZipCrc(corrupt.data) ^ 1;
  package.push_back(corrupt);
  package.push_back(MediumEntry("last.exe", "last", "<programfolder>"));
  medium.WritePackage(package);
  Start();
  HWND installer = Installer();
  ASSERT_NE(installer, nullptr);
  for (int page = 1; page <= 4; ++page) {
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(WaitForControl(installer, L"SetuvaneFlatButton", L"Następny >")); }));
    Next(installer);
  }
  ExpectReport(L"Problem instalacji", L"Instalacja pliku jest niemożliwa.");
  HWND notice = WaitForControl(nullptr, L"TfrmMessageDialog");
  ASSERT_NE(notice, nullptr);
  // What the installation made is undone, and the notice says so.
  EXPECT_NE(ControlText(WaitForControl(notice, L"SetuvaneStaticMemo")).find(L"Wprowadzone zmiany zostały wycofane."),
            std::wstring::npos);
  ClickOn(WaitForControl(notice, L"SetuvanePlainButton", L"OK"));
  EXPECT_EQ(WaitForExit(process), 0u);
  EXPECT_FALSE(std::filesystem::exists(medium.Path() / "cel"));
}

TEST_F(Program, ADamagedSetupEntryIsReportedAtStartUp) {
  std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Aplikacja\\");
  package[3].data = ToBytes("+hlm\\Software\\Firma");  // registry.inf, with a wrong checksum
  package[3].crc = archive::testing::ZipCrc(package[3].data) ^ 1;
  medium.WritePackage(package);
  Start();
  ExpectReport(L"Problem instalacji", L"Nieprawidłowy źródłowy pakiet instalacji.");
  HWND installer = Installer();
  ASSERT_NE(installer, nullptr);
  PostMessageW(installer, WM_CLOSE, 0, 0);
  AnswerStopQuestion(L"Tak");
  EXPECT_EQ(WaitForExit(process), 0u);
  Start("/VERYSILENT");
  EXPECT_EQ(WaitForExit(process), 2u);
}

TEST_F(Program, AMissingPackageEndsTheProgramAfterItsReport) {
  Start();
  ExpectReport(L"Problem instalacji", L"Odczytanie pliku instalacyjnego install.zip jest niemożliwe.");
  EXPECT_EQ(WaitForExit(process), 0u);
  EXPECT_EQ(FindWindowW(L"TfrmDefaultInterface", nullptr), nullptr);
}

// A package with a settings file that the target already has.
std::vector<archive::testing::ZipEntryLayout> UnattendedPackage() {
  std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
  package.push_back(MediumEntry("bin/app.exe", "program", "<programfolder>"));
  package.push_back(MediumEntry("USTAWIENIA.INF", "new settings", "<programfolder>"));
  package.push_back(MediumEntry("doc/readme.txt", "documentation", "<programfolder>doc"));
  return package;
}

TEST_F(Program, VerySilentInstallsWithoutAnyWindowAndLogsEachStep) {
  const std::filesystem::path target = medium.Path() / "Cichy Produkt";
  std::filesystem::create_directories(target);
  WriteFile(target / "USTAWIENIA.INF", {'o', 'l', 'd'});
  medium.WritePackage(UnattendedPackage());
  const std::string log = WinPath(medium.Path() / "instalacja.log");
  Start("/VERYSILENT \"/DIR=" + WinPath(target) + "\" /LOG=\"" + log + "\"");
  bool windowSeen = false;
  while (WaitForSingleObject(process.hProcess, 5) == WAIT_TIMEOUT) {
    for (const wchar_t* name : {L"TfrmDefaultInterface", L"TfrmInfoDialog", L"TfrmMessageDialog"})
      windowSeen |= FindWindowW(name, nullptr) != nullptr;
  }
  EXPECT_EQ(WaitForExit(process), 0u);
  EXPECT_FALSE(windowSeen);
  EXPECT_EQ(ReadFile(target / "app.exe"), "program");
  EXPECT_EQ(ReadFile(target / "doc" / "readme.txt"), "documentation");
  EXPECT_EQ(ReadFile(target / "USTAWIENIA.INF"), "old");  // nobody said "Tak"
  const std::string folder = WinPath(target) + "\\";
  const std::vector<std::string> lines = LogLines(medium.Path() / "instalacja.log");
  const std::vector<std::string> expected = {
      "package: " + medium.Medium() + "install.zip",
      "folder: " + folder,
      "uninstall entry: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Produkt "
      "Testowy",
      "file: " + folder + "app.exe",
      "question: Instalator Testowy: Zastąpić plik \"USTAWIENIA.INF\" nową wersją z instalatora? | Ten plik "
      "zawiera ustawienia lub informacje użytkownika. -> Nie (unattended)",
      "kept: " + folder + "USTAWIENIA.INF",
      "file: " + folder + "doc\\readme.txt",
      "exit code 0",
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(Program, SilentShowsOnlyTheInstallPage) {
  std::vector<archive::testing::ZipEntryLayout> package = UnattendedPackage();
  // Large enough for the window to be seen while it works.
  package.push_back({.name = "big.dat", .data = archive::testing::Bytes(32u << 20, 'x'), .centralExtra = "<programfolder>"});
  medium.WritePackage(package);
  const std::filesystem::path target = medium.Path() / "Produkt";
  Start("/SILENT /DIR=" + WinPath(target));
  HWND installer = Installer();
  ASSERT_NE(installer, nullptr);
  // Found by their classes: asking a control of the busy window for its text waits
  // until the window handles messages again, which may be after it has gone.
  EXPECT_NE(WaitForControl(installer, L"SetuvaneFlatProgressBar", L"", 20000), nullptr);  // the install page
  EXPECT_EQ(WaitForControl(installer, L"SetuvaneStaticMemo", L"", 0), nullptr);  // no other page's text
  EXPECT_EQ(WaitForExit(process), 0u);
  EXPECT_EQ(std::filesystem::file_size(target / "big.dat"), 32u << 20);
}

TEST_F(Program, UnattendedEndsWithTheCodeOfWhatStoppedIt) {
  std::vector<archive::testing::ZipEntryLayout> package = UnattendedPackage();
  archive::testing::ZipEntryLayout corrupt = MediumEntry("broken.dll", "contents", "<programfolder>");
  corrupt.crc = archive::testing::ZipCrc(corrupt.data) ^ 1;
  package.push_back(corrupt);
  medium.WritePackage(package);
  const std::filesystem::path target = medium.Path() / "cel";

  Start("/VERYSILENT /DIR=C:\\a");  // too short
  EXPECT_EQ(WaitForExit(process), 3u);
  Start("/VERYSILENT /DIR=Q:\\Produkt");  // no such drive
  EXPECT_EQ(WaitForExit(process), 3u);
  EXPECT_FALSE(std::filesystem::exists("Q:\\Produkt"));

  const std::string log = WinPath(medium.Path() / "blad.log");
  Start("/VERYSILENT /DIR=" + WinPath(target) + " /LOG=" + log);
  EXPECT_EQ(WaitForExit(process), 4u);
  EXPECT_FALSE(std::filesystem::exists(target / "app.exe"));  // what was installed is undone
  const std::vector<std::string> lines = LogLines(medium.Path() / "blad.log");
  const auto logged = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
  EXPECT_TRUE(logged("problem: Problem instalacji / Instalacja pliku jest niemożliwa. / Instalator nie "
                     "mógł utworzyć pliku \"broken.dll\" / Failed CRC Check"));
  EXPECT_TRUE(logged("the installation's changes were undone"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "exit code 4");

  std::filesystem::remove(medium.Path() / "medium" / "install.zip");
  Start("/VERYSILENT");
  EXPECT_EQ(WaitForExit(process), 2u);

  Start("/VERYSILENT /NOWAY");  // no window, even for the list of switches
  EXPECT_EQ(WaitForExit(process), 87u);
  Start("/VERYSILENT /LOG=Q:\\brak\\dziennik.log");  // a log that cannot be written
  EXPECT_EQ(WaitForExit(process), 87u);
  Start("/?");
  HWND help = WaitForControl(nullptr, L"TfrmMessageDialog");
  ASSERT_NE(help, nullptr);
  EXPECT_NE(ControlText(WaitForControl(help, L"SetuvaneStaticMemo")).find(L"/VERYSILENT"), std::wstring::npos);
  ClickOn(WaitForControl(help, L"SetuvanePlainButton", L"OK"));
  EXPECT_EQ(WaitForExit(process), 87u);
}

// The folders below %TEMP% that the program's starter unpacks its code into.
std::vector<std::string> UnpackedCodeFolders() {
  char temporary[MAX_PATH];
  GetTempPathA(MAX_PATH, temporary);
  std::vector<std::string> found;
  for (const auto& item : std::filesystem::directory_iterator(temporary))
    if (item.path().filename().string().rfind("SetuvaneCode-", 0) == 0) found.push_back(item.path().string());
  return found;
}

// The code runs from a folder of its own, which goes with it; a run that ends at
// once (here for a missing package) cannot remove the code it runs, and the next
// start removes what runs before it left.
TEST_F(Program, TheUnpackedCodeLeavesNothingInTheTemporaryFolder) {
  Start("/VERYSILENT");
  EXPECT_EQ(WaitForExit(process), 2u);
  EXPECT_EQ(UnpackedCodeFolders().size(), 1u);
  medium.WritePackage(UnattendedPackage());
  Start("/VERYSILENT /DIR=" + WinPath(medium.Path() / "Czysty"));
  EXPECT_EQ(WaitForExit(process), 0u);
  EXPECT_EQ(UnpackedCodeFolders(), std::vector<std::string>{});
}

// A byte of the carried code changed (a broken download): no crash, the package's
// own report and its exit code, nothing unpacked left behind.
TEST_F(Program, ADamagedCarriedCodeEndsWithTheCodeOfADamagedPackage) {
  const std::filesystem::path program = medium.Path() / "medium" / "setuvane.exe";
  std::string bytes = ReadFile(program);
  const std::optional<PeLayout> layout = ReadPeLayout(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ASSERT_TRUE(layout);
  const PeSection* code = layout->FindSection(".svcode");
  ASSERT_NE(code, nullptr);
  bytes[code->rawOffset + code->rawSize / 2] ^= 0x20;
  WriteFile(program, ToBytes(bytes));
  medium.WritePackage(UnattendedPackage());
  Start("/SILENT");
  EXPECT_EQ(WaitForExit(process), 2u);
  Start();
  HWND report = WaitForControl(nullptr, L"#32770", L"Problem instalacji");
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(ControlText(GetDlgItem(report, 0xFFFF)),
            L"Nieprawidłowy źródłowy pakiet instalacji.\r\n\r\nUpewnij się że instalacja nie została uszkodzona");
  PostMessageW(report, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForExit(process), 2u);
  EXPECT_EQ(UnpackedCodeFolders(), std::vector<std::string>{});
}

TEST_F(Program, InstallsAPackageThatThePackageToolBuilt) {
  const std::filesystem::path source = medium.Path() / "source";
  std::filesystem::create_directories(source / "setup");
  std::filesystem::create_directories(source / "product" / "pomoc");
  for (const char* name : {"install.inf", "registry.inf", "shortcut.inf"}) WriteFile(source / "setup" / name, {});
  WriteFile(source / "setup" / "license.inf", archive::testing::ToBytes("Licencja\r\n"));
  WriteFile(source / "setup" / "readme.inf", archive::testing::ToBytes("Opis\r\n"));
  WriteFile(source / "product" / "app.exe", archive::testing::ToBytes("program"));
  WriteFile(source / "product" / "pomoc" / "pomoc.txt", archive::testing::ToBytes("pomoc"));
  WriteFile(source / "manifest.txt",
            archive::testing::ToBytes("[setup]\r\nsetup/*\r\n[<programfolder>]\r\nproduct\r\n"));
  PROCESS_INFORMATION build = StartProcess("\"" + WinePath(SETUVANE_PACK_EXE) + "\" build -o \"" + medium.Medium() +
                                           "install.zip\" \"" + WinPath(source / "manifest.txt") + "\"");
  ASSERT_EQ(WaitForExit(build), 0u);
  const std::filesystem::path target = medium.Path() / "cel";
  Start("/VERYSILENT /DIR=" + WinPath(target));
  EXPECT_EQ(WaitForExit(process), 0u);
  EXPECT_EQ(ReadFile(target / "app.exe"), "program");
  EXPECT_EQ(ReadFile(target / "pomoc" / "pomoc.txt"), "pomoc");
}

// Windows' reading of a version resource value of the 041504B0 string table.
std::wstring VersionValue(const std::string& program, const wchar_t* key) {
  DWORD ignored = 0;
  std::vector<uint8_t> info(GetFileVersionInfoSizeA(program.c_str(), &ignored));
  if (info.empty() || !GetFileVersionInfoA(program.c_str(), 0, DWORD(info.size()), info.data())) return L"<none>";
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\041504B0\\") + key;
  if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return L"<none>";
  return std::wstring(value, length > 0 ? length - 1 : 0);
}

// The signed single file of tests/tools/setup_exe_wine.sh, alone in a folder of its
// own, walked with real input; Windows reads the product in its version resource.
TEST_F(Program, ASignedSingleFileAloneInAFolderIsWalkedWithRealInput) {
  const std::string built = WinePath(SETUVANE_SINGLE_FILE);
  if (GetFileAttributesA(built.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "setup_exe_wine_test makes it";
  const std::filesystem::path folder = medium.Path() / "jeden plik";
  std::filesystem::create_directories(folder);
  const std::string program = WinPath(folder / "setup.exe");
  ASSERT_TRUE(CopyFileA(built.c_str(), program.c_str(), FALSE));
  EXPECT_EQ(VersionValue(program, L"ProductName"), L"Instalator przykładowej aplikacji");
  EXPECT_EQ(VersionValue(program, L"CompanyName"), L"Firma Przykład");
  EXPECT_EQ(VersionValue(WinePath(SETUVANE_EXE), L"ProductName"), L"Setuvane");

  process = StartProcess("\"" + program + "\"");
  HWND installer = Installer();
  ASSERT_NE(installer, nullptr);
  EXPECT_EQ(TextOf(installer), L"Przykładowa aplikacja");
  for (int page = 1; page <= 3; ++page) Next(installer);
  ExpectPage(installer, L"Static", L"Lokalizacja aplikacji");
  const std::string target = WinPath(medium.Path() / "Przyklad");
  ClickOn(WaitForControl(installer, L"Edit"));
  RetypeFocusedText(std::wstring(target.begin(), target.end()));
  Next(installer);
  ExpectPage(installer, L"Static", L"Zakończenie instalacji");
  ClickOn(WaitForControl(installer, L"SetuvaneFlatRadioButton", L"Nie, chcę teraz powrócić do systemu Windows."));
  ClickOn(WaitForControl(installer, L"SetuvaneFlatButton", L"Zamknij"));
  EXPECT_EQ(WaitForExit(process), 0u);
  EXPECT_TRUE(std::filesystem::exists(medium.Path() / "Przyklad" / "przyklad.exe"));
  EXPECT_TRUE(std::filesystem::exists(medium.Path() / "Przyklad" / "Dane" / "img" / "logo.png"));
  EXPECT_EQ(archive::testing::ListTree(folder), std::vector<std::string>{"setup.exe"});
}

// The same signed single file saved into a downloads folder where another download
// left an install.zip and a component folder: it installs its own package, runs
// only the component it carries (from its own setup folder) and nothing planted.
TEST_F(Program, ASingleFileInADownloadsFolderReadsOnlyItself) {
  const std::string built = WinePath(SETUVANE_SINGLE_FILE);
  if (GetFileAttributesA(built.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "setup_exe_wine_test makes it";
  const std::filesystem::path downloads = medium.Path() / "Pobrane";
  std::filesystem::create_directories(downloads / "supaxdo");
  ASSERT_TRUE(CopyFileA(built.c_str(), WinPath(downloads / "setup.exe").c_str(), FALSE));
  archive::testing::WriteFile(downloads / "install.zip", archive::testing::BuildZip({.entries = UnattendedPackage()}).bytes);
  ASSERT_TRUE(CopyFileA(WinePath(SETUVANE_COMPONENT_RECORDER).c_str(), WinPath(downloads / "supaxdo" / "setup.exe").c_str(), FALSE));
  const std::filesystem::path ran = medium.Path() / "uruchomione.txt";
  SetEnvironmentVariableA("SETUVANE_COMPONENT_LOG", WinPath(ran).c_str());
  const std::filesystem::path target = medium.Path() / "Przyklad";
  process = StartProcess("\"" + WinPath(downloads / "setup.exe") + "\" /VERYSILENT /DIR=" + WinPath(target) +
                         " /LOG=" + WinPath(medium.Path() / "pobrane.log"));
  EXPECT_EQ(WaitForExit(process, 60000), 3010u);  // its own component ran
  SetEnvironmentVariableA("SETUVANE_COMPONENT_LOG", nullptr);
  EXPECT_TRUE(std::filesystem::exists(target / "przyklad.exe"));
  EXPECT_FALSE(std::filesystem::exists(target / "app.exe")) << "the planted package was installed";
  const std::string components = ReadFile(ran);
  EXPECT_EQ(components.find("Pobrane"), std::string::npos) << components;
  EXPECT_NE(components.find("\\Setuvane-"), std::string::npos) << components;
  const std::vector<std::string> lines = LogLines(medium.Path() / "pobrane.log");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ignored beside the single file: " + WinPath(downloads / "install.zip")),
            lines.end());
  EXPECT_EQ(archive::testing::ListTree(downloads), (std::vector<std::string>{"install.zip", "setup.exe", "supaxdo", "supaxdo/setup.exe"}));
  process = StartProcess("\"" + WinPath(target / "uninstall.exe") + "\" /UNINSTALL /VERYSILENT");
  EXPECT_EQ(WaitForExit(process, 60000), 0u);
}

// Two unattended installations of one product started together (a double click, a
// deployment tool's retry): one installs, the other ends with 1618 having changed
// nothing, and the product's record and removal come out whole.
TEST_F(Program, OfTwoInstallationsStartedTogetherOneInstallsAndTheOtherEndsWith1618) {
  medium.WritePackage(UnattendedPackage());
  // The medium's component keeps the first run busy while the second starts.
  std::filesystem::create_directories(medium.Path() / "medium" / "supaxdo");
  ASSERT_TRUE(CopyFileA(WinePath(SETUVANE_COMPONENT_RECORDER).c_str(), (medium.Medium() + "supaxdo\\setup.exe").c_str(), FALSE));
  SetEnvironmentVariableA("SETUVANE_COMPONENT_SLEEP_MS", "3000");
  const std::filesystem::path target = medium.Path() / "Razem";
  std::vector<PROCESS_INFORMATION> runs;
  for (const char* log : {"pierwszy.log", "drugi.log"}) {
    runs.push_back(StartProcess("\"" + medium.Medium() + "setuvane.exe\" /VERYSILENT /DIR=" + WinPath(target) +
                                " /LOG=" + WinPath(medium.Path() / log)));
  }
  std::vector<DWORD> codes;
  for (PROCESS_INFORMATION& run : runs) codes.push_back(WaitForExit(run, 60000));
  SetEnvironmentVariableA("SETUVANE_COMPONENT_SLEEP_MS", nullptr);
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(codes, (std::vector<DWORD>{1618, 3010}));
  for (const char* log : {"pierwszy.log", "drugi.log"}) {
    const std::vector<std::string> lines = LogLines(medium.Path() / log);
    if (lines.empty() || lines.back() != "exit code 1618") continue;
    for (const std::string& line : lines) EXPECT_EQ(line.rfind("file: ", 0), std::string::npos) << line;
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "problem: Problem instalacji / Instalacja jest już uruchomiona. / Poczekaj na jej zakończenie "
                        "i spróbuj ponownie. / Global\\Setuvane PRODUKT TESTOWY"),
              lines.end());
  }
  EXPECT_EQ(ReadFile(target / "app.exe"), "program");
  process = StartProcess("\"" + WinPath(target / "uninstall.exe") + "\" /UNINSTALL /VERYSILENT");
  EXPECT_EQ(WaitForExit(process, 60000), 0u);
  EXPECT_FALSE(std::filesystem::exists(target)) << "the removal left something behind";
}

// Meaningful on the 8-bit test display only (see CMakeLists.txt).
TEST_F(Program, RefusesToRunWithTooFewColours) {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  if (bits > 8) GTEST_SKIP() << "the display has " << bits << " bits per pixel";
  Start();
  HWND report = WaitForWindow(L"TfrmInfoDialog", nullptr, 30000);
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(TextOf(report), L"Ustawienia systemu");
  HWND main = FindWindowW(L"TfrmDefaultInterface", nullptr);
  EXPECT_TRUE(main == nullptr || !IsWindowVisible(main));  // the window is never shown
  PostMessageW(report, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(WaitForExit(process), 0u);
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
