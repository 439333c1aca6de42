// The product files: destinations resolved from the package, each entry written
// alone into its folder, the overall bar, the overwrite question and the reports.
#include "core/installation/product_installation.h"

#include "archive/zip_cipher.h"
#include "core/installation/kept_at_restart.h"
#include "core/package/product_destinations.h"
#include "core/package/settings.h"
#include "core/wizard/wizard_texts.h"
#include "dialogs/message_routines.h"
#include "system/cp1250.h"
#include "tests/core/fake_uninstall_files.h"
#include "tests/core/fake_wizard_view.h"
#include "tests/core/installer_fixture.h"
#include "tests/core/program_ending.h"
#include "system/install_journal.h"
#include "system/shared_file_counts.h"
#include "system/text_helpers.h"
#include "system/uninstall_items.h"
#include "tests/system/fake_registry.h"

namespace setuvane {
namespace {

using fakes::Dialogs;
using fakes::PackageEntry;
using fakes::ProgramEnded;
using fakes::ToBytes;
using fakes::ZipEntryLayout;

class ProductTest : public fakes::InstallerTest {
 protected:
  bool Install() { return product.PreparePayload() && product.InstallProductFiles(); }
  fakes::FakeWizardView view;
  ProductInstallation product{view, disk};
};

TEST_F(ProductTest, DestinationsAreTrimmedExpandedAndGiveTheProgramFolder) {
  machine.SetShellFolder("Desktop", "C:\\Pulpit");
  disk.AddFolder("C:\\Pulpit");
  WritePackage({PackageEntry("install.inf", "setup"),
                PackageEntry("a/app.exe", "program", " <programfolder>\r\n"),
                PackageEntry("b/lib.dll", "library", "<PROGRAMFOLDER>\\bin"),
                PackageEntry("link.txt", "desktop", "<DesktopFolder>"),
                PackageEntry("blank.txt", "x", " \t ")});
  ASSERT_TRUE(Install());
  EXPECT_EQ(FileText("C:\\Aplikacja\\app.exe"), "program");
  EXPECT_EQ(FileText("C:\\Aplikacja\\bin\\lib.dll"), "library");
  EXPECT_EQ(FileText("C:\\Pulpit\\link.txt"), "desktop");
  EXPECT_EQ(disk.Files().at("C:\\Aplikacja\\app.exe").dosDate, 0x5A21);  // the entry's time stamp
  // Setup files and blank destinations are not installed anywhere.
  for (const auto& [path, file] : disk.Files()) {
    EXPECT_EQ(path.find("install.inf"), std::string::npos) << path;
    EXPECT_EQ(path.find("blank.txt"), std::string::npos) << path;
  }
  EXPECT_EQ(product.zipPacker().Entries(2)->ExtraText(), "C:\\Aplikacja\\bin");
  EXPECT_EQ(view.progressCaptions,
            (std::vector<std::string>{"install.inf", "a/app.exe", "b/lib.dll", "link.txt", "blank.txt"}));
  EXPECT_TRUE(Dialogs().problems.empty());
}

TEST_F(ProductTest, EntriesOfOneFileNameEachLandWithTheirOwnBytes) {
  WritePackage({PackageEntry("readme.txt", "setup copy"),
                PackageEntry("doc/readme.txt", "documentation", "<programfolder>doc"),
                PackageEntry("readme.txt", "product readme", "<programfolder>"),
                PackageEntry("x/readme.txt", "extra", "<programfolder>extra")});
  ASSERT_TRUE(Install());
  EXPECT_EQ(FileText("C:\\Aplikacja\\doc\\readme.txt"), "documentation");
  EXPECT_EQ(FileText("C:\\Aplikacja\\readme.txt"), "product readme");
  EXPECT_EQ(FileText("C:\\Aplikacja\\extra\\readme.txt"), "extra");
}

TEST_F(ProductTest, TheOverallBarMovesByEntries) {
  WritePackage({PackageEntry("1", "a"), PackageEntry("2", "b", "<programfolder>"), PackageEntry("3", "c")});
  ASSERT_TRUE(Install());
  EXPECT_EQ(view.overallPositions, (std::vector<int>{33, 66, 100}));
  view.overallPositions.clear();
  WritePackage({PackageEntry("1", "a"), PackageEntry("2", "b"), PackageEntry("3", "c"), PackageEntry("4", "d")});
  ASSERT_TRUE(Install());
  EXPECT_EQ(view.overallPositions, (std::vector<int>{25, 50, 75, 100}));
  EXPECT_EQ(view.installPositions.back(), 100);
}

TEST_F(ProductTest, UsersSettingsAndDataAreReplacedOnlyOnYes) {
  disk.AddFolder("C:\\Aplikacja");
  for (const char* name : {"USTAWIENIA.INF", "baza.mdb", "app.exe"}) disk.AddFile(std::string("C:\\Aplikacja\\") + name, ToBytes("old"));
  WritePackage({PackageEntry("USTAWIENIA.INF", "new", "<programfolder>"),
                PackageEntry("baza.mdb", "new", "<programfolder>"), PackageEntry("app.exe", "new", "<programfolder>")});
  Dialogs().answer = kResultNo;
  ASSERT_TRUE(Install());
  EXPECT_EQ(FileText("C:\\Aplikacja\\USTAWIENIA.INF"), "old");
  EXPECT_EQ(FileText("C:\\Aplikacja\\baza.mdb"), "old");
  EXPECT_EQ(FileText("C:\\Aplikacja\\app.exe"), "new");  // replaced without a question
  ASSERT_EQ(Dialogs().messages.size(), 2u);
  EXPECT_EQ(Dialogs().messages[0].text,
            "Zastąpić plik \"USTAWIENIA.INF\" nową wersją z instalatora?\r\n"
            "Ten plik zawiera ustawienia lub informacje użytkownika.");
  EXPECT_EQ(Dialogs().messages[0].kind, 3);
  Dialogs().answer = kResultYes;
  ASSERT_TRUE(Install());
  EXPECT_EQ(FileText("C:\\Aplikacja\\baza.mdb"), "new");
}

// For the uninstall record: each file written with its size and check value and
// each folder level made, all recorded (and kept, in one batch) before any is
// written; a file kept at the overwrite question is not recorded, one replaced
// there is, before it is written, as a file that was there before (it stays).
TEST_F(ProductTest, RecordsTheFilesItWritesAndTheFoldersItMakesAheadButNotWhatItKept) {
  disk.AddFolder("C:\\Aplikacja");
  disk.AddFile("C:\\Aplikacja\\USTAWIENIA.INF", ToBytes("old"));
  disk.AddFile("C:\\Aplikacja\\baza.mdb", ToBytes("old"));
  WritePackage({PackageEntry("USTAWIENIA.INF", "new", "<programfolder>"),
                PackageEntry("app.exe", "program", "<programfolder>bin\\sub"),
                PackageEntry("lib.dll", "library", "<programfolder>bin"),
                PackageEntry("baza.mdb", "new", "<programfolder>")});
  std::vector<UninstallItem> items;
  std::vector<size_t> kept;  // how many items were kept at each call
  // (Files written over are kept aside too: tests/core/run_rollback_test.cpp.)
  SetUninstallRecorder([&](const UninstallItem& item) {
                         if (item.kind != UninstallItemKind::kAside) items.push_back(item);
                       },
                       [&] {
                         const size_t before = kept.empty() ? 0 : kept.back();
                         kept.push_back(items.size());
                         for (size_t i = before; i < items.size(); ++i) {
                           const UninstallItem& item = items[i];
                           if (item.kind == UninstallItemKind::kFile)
                             EXPECT_TRUE(!disk.FileExists(item.path) || FileText(item.path) == "old") << item.path;
                           else
                             EXPECT_FALSE(disk.FolderExists(item.path)) << item.path;
                         }
                         return true;
                       });
  Dialogs().answers = {kResultNo, kResultYes};
  const bool installed = Install();
  SetUninstallRecorder({});
  ASSERT_TRUE(installed);
  const std::vector<UninstallItem> expected = {
      PathItem(UninstallItemKind::kFolder, "C:\\Aplikacja\\bin"),
      PathItem(UninstallItemKind::kFolder, "C:\\Aplikacja\\bin\\sub"),
      FileItem("C:\\Aplikacja\\bin\\sub\\app.exe", 7, archive::testing::ZipCrc(ToBytes("program"))),
      FileItem("C:\\Aplikacja\\bin\\lib.dll", 7, archive::testing::ZipCrc(ToBytes("library"))),
      PathItem(UninstallItemKind::kForeignFile, "C:\\Aplikacja\\baza.mdb"),
  };
  EXPECT_EQ(items, expected);
  EXPECT_EQ(kept, (std::vector<size_t>{4, 5}));
  EXPECT_EQ(FileText("C:\\Aplikacja\\baza.mdb"), "new");
}

// A file that was there before is another's unless the product's record has it;
// one outside the program folder is counted among the shared files once the
// record holds it: from 1 for its earlier owner when it was there, and only once
// for this product when the record has counted it already.
TEST_F(ProductTest, FilesThatWereThereStayAnothersAndFilesOutsideTheProgramFolderAreShared) {
  fakes::FakeRegistry registry;
  ScopedRegistry scopedRegistry(registry);
  const std::string shared = std::string("HKEY_LOCAL_MACHINE\\") + kSharedDllsPath;
  machine.SetShellFolder("Desktop", "C:\\Wspolne");
  disk.AddFolder("C:\\Aplikacja");
  disk.AddFolder("C:\\Wspolne");
  for (const char* path : {"C:\\Aplikacja\\obcy.exe", "C:\\Aplikacja\\nasz.exe", "C:\\Wspolne\\obcy.dll",
                           "C:\\Wspolne\\liczony.dll"})
    disk.AddFile(path, ToBytes("old"));
  registry.keys.insert(shared);
  registry.values[shared]["C:\\Wspolne\\liczony.dll"] = {kRegDword, DwordValueData(3)};
  WritePackage({PackageEntry("obcy.exe", "a", "<programfolder>"), PackageEntry("nasz.exe", "b", "<programfolder>"),
                PackageEntry("nowy.exe", "c", "<programfolder>"),
                PackageEntry("obcy.dll", "d", "<DesktopFolder>"),
                PackageEntry("liczony.dll", "e", "<DesktopFolder>"),
                PackageEntry("nowy.dll", "f", "<DesktopFolder>")});
  std::vector<UninstallItem> items;
  std::map<std::string, UninstallItem> record = {
      {"c:\\aplikacja\\nasz.exe", FileItem("C:\\Aplikacja\\nasz.exe", 3, 0)}};
  const auto install = [&] {
    SetUninstallRecorder([&](const UninstallItem& item) {
                           if (item.kind != UninstallItemKind::kAside) items.push_back(item);
                         }, {},
                         {.file = [&](const std::string& path) -> std::optional<UninstallItem> {
                           const auto found = record.find(AsciiLower(path));
                           return found == record.end() ? std::nullopt : std::optional(found->second);
                         }});
    const bool installed = Install();
    SetUninstallRecorder({});
    return installed;
  };
  ASSERT_TRUE(install());
  const auto crc = [](const char* text) { return archive::testing::ZipCrc(ToBytes(text)); };
  const std::vector<UninstallItem> expected = {
      PathItem(UninstallItemKind::kForeignFile, "C:\\Aplikacja\\obcy.exe"),
      FileItem("C:\\Aplikacja\\nasz.exe", 1, crc("b")),
      FileItem("C:\\Aplikacja\\nowy.exe", 1, crc("c")),
      SharedFileItem("C:\\Wspolne\\obcy.dll", 1, crc("d"), false),
      SharedFileItem("C:\\Wspolne\\liczony.dll", 1, crc("e"), true),  // the counting products
      SharedFileItem("C:\\Wspolne\\nowy.dll", 1, crc("f"), true),
  };
  EXPECT_EQ(items, expected);
  const auto count = [&](const char* path) { return registry.values[shared][path].data; };
  EXPECT_EQ(count("C:\\Wspolne\\obcy.dll"), DwordValueData(2));
  EXPECT_EQ(count("C:\\Wspolne\\liczony.dll"), DwordValueData(4));
  EXPECT_EQ(count("C:\\Wspolne\\nowy.dll"), DwordValueData(1));

  // Installed again: the record has what the first run recorded; nothing counts twice.
  for (const UninstallItem& item : items) record[AsciiLower(item.path)] = item;
  items.clear();
  ASSERT_TRUE(install());
  EXPECT_EQ(items, expected);
  EXPECT_EQ(count("C:\\Wspolne\\obcy.dll"), DwordValueData(2));
  EXPECT_EQ(count("C:\\Wspolne\\nowy.dll"), DwordValueData(1));
}

// Whether a file lay there is asked of the disk in every folder this run did not
// make, the record's folders too (another product may have installed into one
// since); paths are normal before anything is decided of them, so a destination
// that climbs out of the program folder is a shared file, counted under the name
// other installers give it; and nothing is written once the record cannot be.
TEST_F(ProductTest, AFilesKindIsDecidedFromItsNormalPathAndTheDiskAndRecordedFirst) {
  fakes::FakeRegistry registry;
  ScopedRegistry scopedRegistry(registry);
  disk.AddFolder("C:\\Aplikacja");
  disk.AddFolder("C:\\Aplikacja\\dane");  // made by the product's earlier installation
  disk.AddFile("C:\\Aplikacja\\dane\\inny.dll", ToBytes("another product's"));
  WritePackage({PackageEntry("inny.dll", "ours", "<programfolder>dane"),
                PackageEntry("wspolny.dll", "w", "<programfolder>..\\Wspolne\\.\\"),
                PackageEntry("app.exe", "a", "<programfolder>nowy\\..")});
  std::vector<UninstallItem> items;
  bool keeps = true;
  SetUninstallRecorder([&](const UninstallItem& item) {
                         if (item.kind != UninstallItemKind::kAside) items.push_back(item);
                       },
                       [&] { return keeps; }, {.madeThisRun = [](const std::string& folder) { return folder == "C:\\Wspolne"; }});
  ASSERT_TRUE(Install());
  const auto crc = [](const char* text) { return archive::testing::ZipCrc(ToBytes(text)); };
  EXPECT_EQ(items, (std::vector<UninstallItem>{
                       PathItem(UninstallItemKind::kForeignFile, "C:\\Aplikacja\\dane\\inny.dll"),
                       PathItem(UninstallItemKind::kFolder, "C:\\Wspolne"),
                       SharedFileItem("C:\\Wspolne\\wspolny.dll", 1, crc("w"), true),
                       FileItem("C:\\Aplikacja\\app.exe", 1, crc("a"))}));
  EXPECT_EQ(registry.Dword(std::string("HKEY_LOCAL_MACHINE\\") + kSharedDllsPath, "C:\\Wspolne\\wspolny.dll"), 1u);

  keeps = false;
  items.clear();
  disk.Remove("C:\\Aplikacja\\app.exe");
  disk.AddFile("C:\\Aplikacja\\dane\\inny.dll", ToBytes("another product's"));
  EXPECT_FALSE(Install());
  EXPECT_FALSE(disk.FileExists("C:\\Aplikacja\\app.exe"));
  EXPECT_EQ(FileText("C:\\Aplikacja\\dane\\inny.dll"), "another product's");
  EXPECT_TRUE(Dialogs().problems.empty());  // the installation reports it, once
  SetUninstallRecorder({});
}

// An encrypted entry whose random header bytes are chosen so that, read with the
// empty password, the header happens to end in the check byte (once in 256).
ZipEntryLayout EntryPassingTheEmptyPasswordCheck() {
  ZipEntryLayout entry = PackageEntry("chance.dll", "contents", "<programfolder>");
  const uint8_t check = uint8_t(archive::testing::ZipCrc(entry.data) >> 24);
  const archive::testing::Bytes plain = archive::testing::DeflateStored(entry.data);
  for (uint32_t seed = 0;; ++seed) {
    archive::ZipCipherKeys right = archive::ZipKeysFor("tarnwick"), empty;
    archive::testing::Bytes encrypted;
    uint8_t seenWithEmpty = 0;
    for (int i = 0; i < 12; ++i) {
      const uint8_t header = i == 11 ? check : uint8_t((seed >> (i % 4 * 8)) + i);
      const uint8_t cipher = header ^ archive::ZipKeyByte(right.k2);
      archive::UpdateZipKeys(right.k0, right.k1, right.k2, header);
      seenWithEmpty = cipher ^ archive::ZipKeyByte(empty.k2);
      archive::UpdateZipKeys(empty.k0, empty.k1, empty.k2, seenWithEmpty);
      encrypted.push_back(cipher);
    }
    if (seenWithEmpty != check) continue;
    for (const uint8_t b : plain) {
      encrypted.push_back(b ^ archive::ZipKeyByte(right.k2));
      archive::UpdateZipKeys(right.k0, right.k1, right.k2, b);
    }
    entry.rawPayload = encrypted;
    return entry;
  }
}

// Installed again before the restart that an uninstallation asked for: what this
// installation writes (its files, the folders on their way, the uninstaller and
// its record) is no longer removed then; another product's file still is.
TEST_F(ProductTest, WhatItWritesIsTakenOutOfTheRemovalsAtRestart) {
  WritePackage({PackageEntry("install.inf", "setup"), PackageEntry("a/app.exe", "program", "<programfolder>bin"),
                PackageEntry("\xBF\xF3\xB3w.txt", "x", "\\\\serwer\\udzial\\Dane")});
  ASSERT_TRUE(product.PreparePayload());
  const std::vector<std::string> paths = PathsInstalled(product.zipPacker(), "C:\\Aplikacja", true);
  EXPECT_EQ(paths, (std::vector<std::string>{"C:\\Aplikacja", "C:\\Aplikacja\\bin", "C:\\Aplikacja\\bin\\app.exe",
                                             "C:\\Aplikacja\\uninstall.dat", "C:\\Aplikacja\\uninstall.exe",
                                             "\\\\serwer\\udzial\\Dane", "\\\\serwer\\udzial\\Dane\\żółw.txt"}));
  EXPECT_EQ(PathsInstalled(product.zipPacker(), "C:\\Aplikacja", false).size(), 5u);

  fakes::FakeUninstallFiles files;
  ScopedUninstallFiles scopedFiles(files);
  files.atRestart = {"C:\\Aplikacja\\bin\\app.exe", "C:\\Inna\\app.exe", "C:\\Aplikacja\\bin", "C:\\Aplikacja"};
  std::vector<std::string> log;
  SetJournalSink([&](const std::string& line) { log.push_back(line); });
  KeepAtRestart(paths);
  SetJournalSink({});
  EXPECT_EQ(files.atRestart, std::vector<std::string>{"C:\\Inna\\app.exe"});
  EXPECT_EQ(log.front(), "no longer removed or replaced at the next restart: C:\\Aplikacja");
  EXPECT_EQ(log.size(), 3u);
}

TEST_F(ProductTest, TheFirstEntryIsNotTriedWithAWrongPasswordThatPassesByChance) {
  WritePackage({EntryPassingTheEmptyPasswordCheck()});
  ASSERT_TRUE(Install());
  EXPECT_EQ(FileText("C:\\Aplikacja\\chance.dll"), "contents");
  EXPECT_TRUE(Dialogs().problems.empty());
}

TEST_F(ProductTest, AFailedEntryIsReportedWithItsOwnTextAndStops) {
  ZipEntryLayout corrupt = PackageEntry("bad.dll", "contents", "<programfolder>");
  // A wrong low byte: the high byte still checks the password.
  corrupt.crc = archive::testing::ZipCrc(corrupt.data) ^ 1;
  WritePackage({PackageEntry("good.exe", "ok", "<programfolder>"), corrupt,
                PackageEntry("later.exe", "never", "<programfolder>")});
  EXPECT_TRUE(product.PreparePayload());
  EXPECT_FALSE(product.InstallProductFiles());
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  const fakes::ProblemReport& r = Dialogs().problems[0];
  EXPECT_EQ(r.message, "Instalacja pliku jest niemożliwa.");
  EXPECT_EQ(r.hint, "Instalator nie mógł utworzyć pliku \"bad.dll\"");
  EXPECT_EQ(r.details, "Failed CRC Check");
  EXPECT_EQ(FileText("C:\\Aplikacja\\good.exe"), "ok");  // what was installed stays
  EXPECT_EQ(FileText("C:\\Aplikacja\\bad.dll"), "<missing>");
  EXPECT_EQ(FileText("C:\\Aplikacja\\later.exe"), "<missing>");
}

// The package's Windows-1250 names become the program's UTF-8; one the system cannot
// hold (a letter a Windows 9x code page lacks) is refused before any file is written.
TEST_F(ProductTest, PolishNamesLandAndOnesTheSystemCannotHoldAreRefusedFirst) {
  WritePackage(
      {PackageEntry("first.exe", "x", "<programfolder>"), PackageEntry("\xBF\xF3\xB3w.txt", "z", "<programfolder>")});
  machine.unheldLetter = "ż";
  EXPECT_FALSE(product.PreparePayload());
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  EXPECT_EQ(Dialogs().problems[0].hint, "Instalator nie mógł utworzyć pliku \"żółw.txt\"");
  EXPECT_EQ(Dialogs().problems[0].details, WizardText().nameNotHeld);
  EXPECT_EQ(FileText("C:\\Aplikacja\\first.exe"), "<missing>");
  machine.unheldLetter.clear();
  EXPECT_TRUE(product.PreparePayload());
  EXPECT_TRUE(product.InstallProductFiles());
  EXPECT_EQ(FileText("C:\\Aplikacja\\żółw.txt"), "z");
}

TEST_F(ProductTest, AFolderThatCannotBeMadeIsReportedAsNotOpened) {
  machine.refusedDirectories.insert("C:\\Aplikacja");
  WritePackage({PackageEntry("app.exe", "x", "<programfolder>")});
  EXPECT_TRUE(product.PreparePayload());
  EXPECT_FALSE(product.InstallProductFiles());
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  EXPECT_EQ(Dialogs().problems[0].message, "Otwarcie bieżącego katalogu jest niemożliwe.");
  EXPECT_EQ(Dialogs().problems[0].hint, "Instalator nie mógł otworzyć katalogu \"C:\\Aplikacja\\\"");
  EXPECT_EQ(Dialogs().problems[0].details, "Directory does not exist");
}

TEST_F(ProductTest, AFolderThatIsNoFolderHereIsReportedAndStops) {
  // No desktop in the shell folders: the destination comes out empty; a program
  // folder without a drive would put the file on the medium.
  const struct {
    std::string programFolder, destination, shown, details;
  } cases[] = {
      {"C:\\Aplikacja\\", "<desktopfolder>", "<desktopfolder>", WizardText().destinationUnknown},
      {"C:\\Aplikacja\\", "<desktopfolder>Skróty", "Skróty", WizardText().destinationNotFull},
      {"Aplikacja\\", "<programfolder>", "Aplikacja\\", WizardText().destinationNotFull},
  };
  for (const auto& c : cases) {
    Dialogs() = {};
    ProductLocation = c.programFolder;
    WritePackage({PackageEntry("first.exe", "first", "C:\\Inny"), PackageEntry("x.lnk", "x", Cp1250(c.destination)),
                  PackageEntry("later.exe", "never", "C:\\Inny")});
    EXPECT_TRUE(product.PreparePayload());
    EXPECT_FALSE(product.InstallProductFiles()) << c.destination;
    ASSERT_EQ(Dialogs().problems.size(), 1u);
    EXPECT_EQ(Dialogs().problems[0].message, "Otwarcie bieżącego katalogu jest niemożliwe.");
    EXPECT_EQ(Dialogs().problems[0].hint, "Instalator nie mógł otworzyć katalogu \"" + c.shown + "\"");
    EXPECT_EQ(Dialogs().problems[0].details, c.details);
    EXPECT_EQ(FileText("C:\\Inny\\first.exe"), "first");
    EXPECT_EQ(FileText("C:\\Inny\\later.exe"), "<missing>");
    for (const auto& [path, file] : disk.Files()) EXPECT_EQ(path.find("x.lnk"), std::string::npos) << path;
  }
}

TEST_F(ProductTest, APackageGoneWhenTheInstallPageOpensEndsTheProgram) {
  EXPECT_THROW(product.PreparePayload(), ProgramEnded);
  ASSERT_EQ(Dialogs().problems.size(), 1u);
  EXPECT_EQ(Dialogs().problems[0].message, "Odczytanie pliku instalacyjnego \"install.zip\" jest niemożliwe.");
}

TEST_F(ProductTest, HoldsUserDataLooksAtTheLastThreeLetters) {
  EXPECT_TRUE(HoldsUserData("C:\\A\\x.inf"));
  EXPECT_TRUE(HoldsUserData("C:\\A\\X.MDB"));
  EXPECT_TRUE(HoldsUserData("C:\\A\\confinf"));  // no dot needed
  EXPECT_FALSE(HoldsUserData("C:\\A\\x.exe"));
  EXPECT_FALSE(HoldsUserData("nf"));
}

}  // namespace
}  // namespace setuvane
