// Start-up with the install package: the settings of install.inf, the setup files
// unpacked into the setup folder, the two list texts, and every report on the way.
#include "core/package/install_package.h"

#include "archive/unzipper.h"
#include "core/installation/installation.h"
#include "core/package/settings.h"
#include "core/run/exit_codes.h"
#include "core/run/setup_folder.h"
#include "core/uninstallation/product_entry.h"
#include "core/uninstallation/product_lock.h"
#include "core/wizard/information_pages.h"
#include "system/cp1250.h"
#include "tests/core/fake_wizard_view.h"
#include "tests/core/installer_fixture.h"
#include "tests/core/program_ending.h"
#include "tests/system/fake_registry.h"

namespace setuvane {
namespace {

using fakes::Dialogs;
using fakes::FakeList;
using fakes::PackageEntry;
using fakes::ProgramEnded;
using fakes::ToBytes;

struct SettingsTest : fakes::InstallerTest {
  void Apply(std::initializer_list<std::string> lines) {
    SetDefaultSettings();
    for (const std::string& line : lines) ApplySettingsLine(line);
  }
};

TEST_F(SettingsTest, DefaultsNameTheProgramFilesFolder) {
  SetDefaultSettings();
  EXPECT_EQ(InstallTaskTitle, "Instalator Aplikacji");
  EXPECT_EQ(InstallMainTitle, "Instalator Aplikacji");
  EXPECT_EQ(ProductLocation, "C:\\Program Files\\Aplikacja\\");
  EXPECT_TRUE(ProductWindows95 && ProductWindows98 && ProductWindowsNT && ProductWindows2K);
}

TEST_F(SettingsTest, KeysMatchInCapitalsAnywhereAndTakeTheTextAfterTheFirstSeparator) {
  Apply({"INSTALL_TASK_TITLE=Moja aplikacja"});
  EXPECT_EQ(InstallTaskTitle, "Moja aplikacja");
  Apply({"INSTALL_TASK_TITLE= Moja"});
  EXPECT_EQ(InstallTaskTitle, " Moja");  // nothing is trimmed
  Apply({"INSTALL_TASK_TITLE : Moja"});
  EXPECT_EQ(InstallTaskTitle, " Moja");  // the colon when there is no "="
  Apply({"INSTALL_TASK_TITLE"});
  EXPECT_EQ(InstallTaskTitle, "");
  Apply({"INSTALL_MAIN_TITLE=a=b"});
  EXPECT_EQ(InstallMainTitle, "a=b");
  Apply({"; stary INSTALL_MAIN_TITLE=X"});  // preceded by other text: still a match
  EXPECT_EQ(InstallMainTitle, "X");
  Apply({"install_main_title=X"});  // lower case: no match
  EXPECT_EQ(InstallMainTitle, "Instalator Aplikacji");
  Apply({"INSTALL_TASK_TITLE=A", "INSTALL_TASK_TITLE=B"});
  EXPECT_EQ(InstallTaskTitle, "B");
  // One line may match several keys.
  Apply({"INSTALL_TASK_TITLE INSTALL_MAIN_TITLE=Oba"});
  EXPECT_EQ(InstallTaskTitle, "Oba");
  EXPECT_EQ(InstallMainTitle, "Oba");
}

TEST_F(SettingsTest, LocationIsExpandedAndFlagsKnowTwoWords) {
  Apply({"PRODUCT_LOCATION=<windowsvolume>Firma\\Program\\"});
  EXPECT_EQ(ProductLocation, "C:\\Firma\\Program\\");
  Apply({"PRODUCT_WINDOWS_95=prawda", "PRODUCT_WINDOWS_98=Tak", "PRODUCT_WINDOWS_NT= TRUE", "PRODUCT_WINDOWS_2K=1"});
  EXPECT_TRUE(ProductWindows95);
  EXPECT_FALSE(ProductWindows98 || ProductWindowsNT || ProductWindows2K);
}

using PackageTest = fakes::InstallerTest;

TEST_F(PackageTest, UnpacksTheSetupFilesAndReadsTheSettings) {
  WritePackage({PackageEntry("setup/install.inf", "INSTALL_TASK_TITLE=Zadanie\r\nPRODUCT_LOCATION=D:\\Prog\\\r\n"),
                PackageEntry("license.inf", "Licencja"),
                PackageEntry("bin/app.exe", "program", "<programfolder>"),
                PackageEntry("blank.txt", "x", "  ")});
  archive::TAbUnZipper zipInstall(disk);
  EXPECT_TRUE(OpenInstallPackage(zipInstall, disk));
  EXPECT_EQ(FileText(SetupFolder + "install.inf"), "INSTALL_TASK_TITLE=Zadanie\r\nPRODUCT_LOCATION=D:\\Prog\\\r\n");
  EXPECT_EQ(FileText(SetupFolder + "license.inf"), "Licencja");
  // Product entries stay in the package, a blank destination included.
  EXPECT_EQ(FileText(SetupFolder + "app.exe"), "<missing>");
  EXPECT_EQ(FileText(SetupFolder + "blank.txt"), "<missing>");
  EXPECT_EQ(InstallTaskTitle, "Zadanie");
  EXPECT_EQ(InstallMainTitle, "Instalator Aplikacji");
  EXPECT_EQ(ProductLocation, "D:\\Prog\\");
  EXPECT_EQ(zipInstall.EntryCount(), 0);  // closed again
  EXPECT_EQ(machine.currentDirectory, "E:\\INSTALL\\");
  EXPECT_TRUE(Dialogs().problems.empty());
}

TEST_F(PackageTest, EarlierRunsSetupFilesAreNeverRead) {
  disk.AddFile("C:\\WINDOWS\\TEMP\\registry.inf", ToBytes("+hlm\\Software\\Obcy"));
  disk.AddFile("C:\\WINDOWS\\TEMP\\readme.inf", ToBytes("Inny produkt"));
  disk.AddFile("C:\\WINDOWS\\TEMP\\other.txt", ToBytes("zostaje"));
  WritePackage({PackageEntry("install.inf", "")});
  archive::TAbUnZipper zipInstall(disk);
  EXPECT_TRUE(OpenInstallPackage(zipInstall, disk));
  EXPECT_EQ(FileText(SetupFolder + "registry.inf"), "<missing>");
  EXPECT_EQ(FileText("C:\\WINDOWS\\TEMP\\registry.inf"), "+hlm\\Software\\Obcy") << "not ours to remove";
  EXPECT_EQ(FileText("C:\\WINDOWS\\TEMP\\other.txt"), "zostaje");
  FakeList readme;
  EXPECT_FALSE(LoadReadme(readme));
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  EXPECT_EQ(Dialogs().problems[0].details, "File not found");
}

TEST_F(PackageTest, ASetupFileThatCannotBeUnpackedMakesThePackageUnreadable) {
  fakes::ZipEntryLayout corrupt = PackageEntry("registry.inf", "+hlm\\Software");
  corrupt.crc = archive::testing::ZipCrc(corrupt.data) ^ 1;
  fakes::ZipEntryLayout foreign = PackageEntry("shortcut.inf", "{x");
  foreign.password = "inne";
  const struct {
    fakes::ZipEntryLayout entry;
    std::string details;
  } cases[] = {{corrupt, "registry.inf: Failed CRC Check"}, {foreign, "shortcut.inf: Cannot extract file - invalid password"}};
  for (const auto& c : cases) {
    Dialogs() = {};
    WritePackage({PackageEntry("install.inf", "INSTALL_TASK_TITLE=Zadanie"), c.entry, PackageEntry("readme.inf", "")});
    archive::TAbUnZipper zipInstall(disk);
    EXPECT_FALSE(OpenInstallPackage(zipInstall, disk));
    ASSERT_EQ(Dialogs().problems.size(), 1u);
    EXPECT_EQ(Dialogs().problems[0].message, "Nieprawidłowy źródłowy pakiet instalacji.");
    EXPECT_EQ(Dialogs().problems[0].details, c.details);
  }
}

// Each run unpacks into a new folder of its own below the temporary folder, so two
// runs never unpack over each other; what a run unpacked goes with its folder at
// the end.
TEST_F(PackageTest, SetupFilesGoIntoAFolderOfTheRunsOwnThatGoesAtTheEnd) {
  WritePackage({PackageEntry("install.inf", "INSTALL_TASK_TITLE=Pierwszy\r\n")});
  archive::TAbUnZipper zipInstall(disk);
  ASSERT_TRUE(OpenInstallPackage(zipInstall, disk));
  const std::string first = SetupFolder;
  EXPECT_EQ(first.rfind("C:\\WINDOWS\\TEMP\\Setuvane-", 0), 0u) << first;
  EXPECT_EQ(FileText(first + "install.inf"), "INSTALL_TASK_TITLE=Pierwszy\r\n");

  WritePackage({PackageEntry("install.inf", "INSTALL_TASK_TITLE=Drugi\r\n")});
  ASSERT_TRUE(OpenInstallPackage(zipInstall, disk));
  EXPECT_NE(SetupFolder, first);
  EXPECT_EQ(InstallTaskTitle, "Drugi");
  EXPECT_EQ(FileText(first + "install.inf"), "INSTALL_TASK_TITLE=Pierwszy\r\n") << "the other run's file stays";
  RemoveOwnSetupFolder(disk);
  EXPECT_FALSE(disk.FolderExists(SetupFolder.substr(0, SetupFolder.size() - 1)));
}

// While another run holds the product's mutex, a second start ends with 1618 as
// soon as it knows the product, in every kind of run, before anything is shown or
// installed.
TEST_F(PackageTest, ASecondInstallationOfTheProductEndsWith1618) {
  WritePackage({PackageEntry("install.inf", "INSTALL_MAIN_TITLE=Notatnik\r\nPRODUCT_PUBLISHER=Firma\r\n"),
                PackageEntry("bin/app.exe", "program", "<programfolder>")});
  machine.namedMutexesElsewhere = {"Global\\Setuvane FIRMA NOTATNIK"};
  fakes::FakeWizardView view;
  Installation installation(view, disk);
  EXPECT_THROW(installation.OpenInstallPackage(), ProgramEnded);
  EXPECT_EQ(EndingExitCode(), kExitAnotherRunning);
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  EXPECT_EQ(Dialogs().problems[0].message, "Instalacja jest już uruchomiona.");
  SetEndingExitCode(kExitInstalled);

  machine.namedMutexesElsewhere.clear();
  EXPECT_TRUE(installation.OpenInstallPackage());
  EXPECT_EQ(machine.namedMutexes.back(), "Global\\Setuvane FIRMA NOTATNIK");
}

// The lock is named after the entry the installation writes (here beside another
// installer's), as the uninstaller names it from the record, whatever the letter
// case, and fits the system's limit however long the key; a lock the system
// refuses ends the run with 4 instead of letting it run unguarded.
TEST_F(PackageTest, TheLockIsTheEntrysAndOneThatCannotBeMadeEndsTheRun) {
  fakes::FakeRegistry registry;
  ScopedRegistry scopedRegistry(registry);
  const std::string foreign = "HKEY_LOCAL_MACHINE\\" + EntryKeyPath("Firma Notatnik");
  registry.keys.insert(foreign);
  registry.values[foreign]["UninstallString"] = {kRegSz, StringValueData("MsiExec.exe /X{1234}")};
  WritePackage({PackageEntry("install.inf", "INSTALL_MAIN_TITLE=Notatnik\r\nPRODUCT_PUBLISHER=Firma\r\n")});
  machine.namedMutexesRefused = {ProductLockName("firma notatnik (2)", true)};
  fakes::FakeWizardView view;
  Installation installation(view, disk);
  EXPECT_THROW(installation.OpenInstallPackage(), ProgramEnded);
  EXPECT_EQ(machine.namedMutexes.back(), "Global\\Setuvane FIRMA NOTATNIK (2)");
  EXPECT_EQ(EndingExitCode(), kExitStepFailed);
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  EXPECT_EQ(Dialogs().problems[0].message, "Zabezpieczenie przed równoczesną instalacją jest niemożliwe.");
  SetEndingExitCode(kExitInstalled);
  std::string polish;
  for (int i = 0; i < 100; ++i) polish += "Łódź";
  EXPECT_EQ(ProductLockName(polish, true), ProductLockName(UpperCp1250Letters(polish), true));
  EXPECT_NE(ProductLockName(polish, true), ProductLockName(polish + "!", true));
  EXPECT_LE(ProductLockName(polish, true).size(), 260u);
}

TEST_F(PackageTest, AMissingPackageIsReportedAndEndsTheProgram) {
  archive::TAbUnZipper zipInstall(disk);
  EXPECT_THROW(OpenInstallPackage(zipInstall, disk), ProgramEnded);
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  const fakes::ProblemReport& r = Dialogs().problems[0];
  EXPECT_EQ(r.title, "Problem instalacji");
  EXPECT_EQ(r.message, "Odczytanie pliku instalacyjnego install.zip jest niemożliwe.");
  EXPECT_EQ(r.hint, "Sprecyzowany plik nie istnieje. ");
}

TEST_F(PackageTest, ADamagedPackageIsReportedAndStartUpGoesOnWithoutSettings) {
  disk.AddFile("E:\\INSTALL\\install.zip", ToBytes("not a zip at all"));
  InstallTaskTitle.clear();
  archive::TAbUnZipper zipInstall(disk);
  EXPECT_FALSE(OpenInstallPackage(zipInstall, disk));
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  const fakes::ProblemReport& r = Dialogs().problems[0];
  EXPECT_EQ(r.message, "Nieprawidłowy źródłowy pakiet instalacji.");
  EXPECT_EQ(r.hint, "Upewnij się że instalacja nie została uszkodzona");
  EXPECT_EQ(r.details, "Invalid file - not a PKZip file");
  EXPECT_EQ(InstallTaskTitle, "");  // the defaults were not set
}

TEST_F(PackageTest, APackageWithoutSettingsEndsTheProgramWithTheSettingsReport) {
  WritePackage({PackageEntry("app.exe", "program", "<programfolder>")});
  archive::TAbUnZipper zipInstall(disk);
  EXPECT_THROW(OpenInstallPackage(zipInstall, disk), ProgramEnded);
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  const fakes::ProblemReport& r = Dialogs().problems[0];
  EXPECT_EQ(r.message, "Nieprawidłowy źródłowy rejestr instalacji.");
  EXPECT_EQ(r.hint, "Odczytanie rejestru instalacji " + SetupFolder + "install.inf jest niemożliwe.");
  EXPECT_EQ(r.details, "File not found");
}

TEST_F(PackageTest, ListTextsAreTrimmedLinesAndAFailureKeepsTheList) {
  disk.AddFile("C:\\WINDOWS\\TEMP\\license.inf", ToBytes(Cp1250("  Umowa licencyjna \r\n\r\n\tPunkt 1.\x1a Koniec")));
  FakeList license;
  EXPECT_TRUE(LoadLicense(license));
  EXPECT_EQ(license.items, (std::vector<std::string>{"Umowa licencyjna", "", "Punkt 1."}));
  FakeList readme;
  readme.items = {"earlier"};
  EXPECT_FALSE(LoadReadme(readme));
  EXPECT_EQ(readme.items, std::vector<std::string>{"earlier"});
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  EXPECT_EQ(Dialogs().problems[0].message, "Odczytanie informacji dotyczących produktu jest niemożliwe.");
  EXPECT_EQ(Dialogs().problems[0].hint, "Upewnij się że instalacja nie została uszkodzona.");
}

}  // namespace
}  // namespace setuvane
