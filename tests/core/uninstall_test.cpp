// The uninstall record (its lines, their check values, a second installation
// merged into the first) and the removal it drives, against a disk and a registry
// of plain data.
#include <gtest/gtest.h>

#include "archive/crc32.h"
#include "core/run/exit_codes.h"
#include "core/uninstallation/link_on_the_way.h"
#include "core/uninstallation/product_entry.h"
#include "core/uninstallation/restart_removals.h"
#include "core/uninstallation/uninstall_record.h"
#include "core/uninstallation/uninstall_setup.h"
#include "core/uninstallation/uninstallation.h"
#include "core/uninstallation/user_hive.h"
#include "system/install_journal.h"
#include "system/machine.h"
#include "system/sha256.h"
#include "system/shared_file_counts.h"
#include "system/text_helpers.h"
#include "tests/core/fake_uninstall_files.h"
#include "tests/core/fake_wizard_view.h"
#include "tests/core/recording_dialogs.h"
#include "tests/system/fake_machine.h"
#include "tests/system/fake_registry.h"

namespace setuvane {
namespace {

constexpr char kHklm[] = "HKEY_LOCAL_MACHINE";
constexpr char kHkcu[] = "HKEY_CURRENT_USER";
constexpr char kRecord[] = "C:\\Produkt\\uninstall.dat";
const std::string kEntryKey = std::string(kHklm) + "\\" + kUninstallKeysPath + "\\Notatnik";

std::uint32_t Crc(const std::string& data) {
  return archive::Crc32Update(0xFFFFFFFFu, reinterpret_cast<const std::uint8_t*>(data.data()), data.size()) ^
         0xFFFFFFFFu;
}

UninstallItem File(const std::string& path, const std::string& data) { return FileItem(path, data.size(), Crc(data)); }

TEST(UninstallRecord, ReadsBackWhatItWrote) {
  const std::vector<UninstallItem> items = {
      ProductItem("Firma Notatnik", "Notatnik – wersja 100%"),
      PathItem(UninstallItemKind::kFolder, "C:\\Program Files\\Firma"),
      FileItem("C:\\Program Files\\Firma\\żółw.txt", 5000000000ull, 0xDEADBEEF),
      KeyItem(kHklm, "Software\\Firma"),
      ValueItem(kHklm, "Software\\Firma", "tab\there\r\nand %", RegistryData{3, std::string("\0\xff\t", 3)}),
      ValueItem(kHklm, "Software\\Firma", "Ścieżka", RegistryData{1, std::string("a\0", 2), /*ansiForm=*/true}),
      ValueItem(kHkcu, "Software", "", std::nullopt),
      PathItem(UninstallItemKind::kShortcutFolder, "C:\\Menu\\Firma"),
      PathItem(UninstallItemKind::kShortcut, "C:\\Menu\\Firma\\Notatnik.lnk"),
      PathItem(UninstallItemKind::kForeignFile, "C:\\Program Files\\Firma\\obcy.dll"),
      SharedFileItem("C:\\Windows\\System32\\wspolny.dll", 7, 0x1234ABCD, true),
      SharedFileItem("C:\\Windows\\System32\\cudzy.dll", 8, 1, false),
      PathItem(UninstallItemKind::kUser, "S-1-5-21-1-2-3-1001"),
      PathItem(UninstallItemKind::kEnd, ""),
  };
  const ParsedUninstallRecord parsed = ParseUninstallRecord(UninstallRecordText(items));
  ASSERT_TRUE(parsed.Verified()) << parsed.problem;
  EXPECT_EQ(parsed.items, items);
  EXPECT_TRUE(parsed.Complete());
  // An empty last field (a product without a title) is a field too.
  const std::vector<UninstallItem> untitled = {ProductItem("P", "")};
  EXPECT_EQ(ParseUninstallRecord(UninstallRecordText(untitled)).items, untitled);

  // Written as the installation goes: what an earlier one left, then line by line.
  fakes::FakeUninstallFiles files;
  UninstallRecordWriter writer(files, kRecord);
  ASSERT_TRUE(writer.Start({items[0], items[1], items.back()}));
  for (size_t i = 2; i < items.size(); ++i) ASSERT_TRUE(writer.Add(items[i]));
  EXPECT_EQ(files.files[kRecord], UninstallRecordText(items));
  // A line that does not reach the disk stops the writing; what is there stays whole.
  files.appendFails = true;
  EXPECT_FALSE(writer.Add(items[1]));
  files.appendFails = false;
  EXPECT_FALSE(writer.Add(items[1]));
  EXPECT_TRUE(ParseUninstallRecord(files.files[kRecord]).Verified());
}

TEST(UninstallRecord, ADamagedRecordIsRefusedWhole) {
  const std::string good = UninstallRecordText({ProductItem("P", "P"), PathItem(UninstallItemKind::kFolder, "C:\\A"),
                                                FileItem("C:\\A\\b.exe", 1, 2), PathItem(UninstallItemKind::kFolder, "C:\\B")});
  ASSERT_TRUE(ParseUninstallRecord(good).Verified());
  const size_t second = good.find("folder");
  const size_t third = good.find("file");
  const size_t fourth = good.rfind("folder");
  std::string changed = good;
  changed[good.find("b.exe")] = 'c';
  std::string swapped = good.substr(0, second) + good.substr(third, fourth - third) +
                        good.substr(second, third - second) + good.substr(fourth);
  const struct {
    std::string text, what, problem;
  } cases[] = {
      {changed, "a changed name", "line 4: the check value does not match"},
      {good.substr(0, second) + good.substr(third), "a lost line", "line 3: the check value does not match"},
      {swapped, "two lines swapped", "line 3: the check value does not match"},
      {"SETUVANE UNINSTALL RECORD 3\r\n", "a later version", "unknown version of the uninstall record"},
      {"", "an empty file", "not an uninstall record"},
  };
  for (const auto& c : cases) {
    const ParsedUninstallRecord parsed = ParseUninstallRecord(c.text);
    EXPECT_EQ(parsed.problem, c.problem) << c.what;
    EXPECT_TRUE(parsed.items.empty()) << c.what;
  }
}

// The first version wrote the texts as the ANSI calls took them, which read them in
// the system's code page (Windows-1250 for the native tests' machine), and every
// value as those calls gave it, to go back through them.
TEST(UninstallRecord, AFirstVersionRecordIsReadInTheSystemsCodePage) {
  std::string first = UninstallRecordText({ProductItem("Firma",
                                                       "\xA3\xF3"
                                                       "d\x9F"),
                                           FileItem("C:\\\xBF\xF3\xB3w.txt", 1, 2),
                                           ValueItem(kHkcu,
                                                     "Software\\\xA3\xF3"
                                                     "d\x9F",
                                                     "\x8C"
                                                     "cie\xBF"
                                                     "ka",
                                                     RegistryData{1, std::string("x\0", 2)})});
  first.replace(first.find(" 2\r\n"), 4, " 1\r\n");
  const ParsedUninstallRecord parsed = ParseUninstallRecord(first);
  ASSERT_TRUE(parsed.Verified()) << parsed.problem;
  EXPECT_EQ(parsed.items, (std::vector<UninstallItem>{ProductItem("Firma", "Łódź"), FileItem("C:\\żółw.txt", 1, 2),
                                                      ValueItem(kHkcu, "Software\\Łódź", "Ścieżka",
                                                                RegistryData{1, std::string("x\0", 2), true})}));
}

TEST(UninstallEntry, KeyNameNamesThePublisherOnce) {
  EXPECT_EQ(UninstallKeyName("Notatnik 1.0", "Firma"), "Firma Notatnik 1.0");
  EXPECT_EQ(UninstallKeyName("Firma Notatnik 1.0", "Firma"), "Firma Notatnik 1.0");
  EXPECT_EQ(UninstallKeyName("FIRMA", "Firma"), "FIRMA");
  EXPECT_EQ(UninstallKeyName("Firmament", "Firma"), "Firma Firmament");
  EXPECT_EQ(UninstallKeyName("A\\B\t", ""), "A-B");
}

TEST(UninstallRecord, ASecondInstallationMergesIntoTheFirst) {
  const std::vector<UninstallItem> first = {
      ProductItem("Notatnik", "Notatnik 1.0"),
      PathItem(UninstallItemKind::kFolder, "C:\\Produkt"),
      FileItem("C:\\Produkt\\a.exe", 1, 1),
      ValueItem(kHklm, "Software\\Firma", "Wersja", std::nullopt),
      PathItem(UninstallItemKind::kEnd, ""),
  };
  const std::vector<UninstallItem> second = {
      ProductItem("Notatnik", "Notatnik 1.1"),
      FileItem("C:\\PRODUKT\\A.EXE", 2, 2),  // written again: Windows' names ignore case
      FileItem("C:\\Produkt\\b.dll", 3, 3),
      ValueItem(kHklm, "Software\\Firma", "Wersja", RegistryData{kRegSz, std::string("1.0\0", 4)}),
  };
  const std::vector<UninstallItem> expected = {
      ProductItem("Notatnik", "Notatnik 1.1"),
      PathItem(UninstallItemKind::kFolder, "C:\\Produkt"),
      FileItem("C:\\Produkt\\a.exe", 2, 2),
      ValueItem(kHklm, "Software\\Firma", "Wersja", std::nullopt),  // it did not exist before the first
      FileItem("C:\\Produkt\\b.dll", 3, 3),
  };
  EXPECT_EQ(MergeUninstallItems(first, second), expected);  // the second did not finish

  // HKEY_CURRENT_USER of two accounts holds two values of one name; each stays
  // after its account's "user" item, however the runs came.
  const UninstallItem user1 = PathItem(UninstallItemKind::kUser, "S-1-5-21-1");
  const UninstallItem user2 = PathItem(UninstallItemKind::kUser, "S-1-5-21-2");
  const UninstallItem value = ValueItem(kHkcu, "Software\\Firma", "Jezyk", std::nullopt);
  const UninstallItem file = FileItem("C:\\Produkt\\a.exe", 1, 1);
  EXPECT_EQ(MergeUninstallItems({user1, value, user2, value}, {user1, value, file, user2, value}),
            (std::vector<UninstallItem>{user1, value, user2, value, file}));
  EXPECT_EQ(MergeUninstallItems({user1, value}, {PathItem(UninstallItemKind::kUser, ""), value}),
            (std::vector<UninstallItem>{user1, value, PathItem(UninstallItemKind::kUser, ""), value}));
}

class Uninstallation : public ::testing::Test {
 protected:
  Uninstallation() {
    SetJournalSink([this](const std::string& line) { log.push_back(line); });
    fakes::Dialogs() = {};
    fakes::Dialogs().answer = 6;
    disk.folders = {"C:\\Produkt", "C:\\Produkt\\dane", "C:\\Menu\\Firma"};
    disk.files = {{"C:\\Produkt\\app.exe", "program"},   {"C:\\Produkt\\dane\\baza.mdb", "baza"},
                  {"C:\\Produkt\\ustawienia.inf", "a=1"}, {"C:\\Menu\\Firma\\App.lnk", "link"},
                  {"C:\\Produkt\\uninstall.exe", "MZ"}};
    registry.keys = {std::string(kHkcu) + "\\Software", std::string(kHkcu) + "\\Software\\Firma",
                     std::string(kHkcu) + "\\Software\\Firma\\App", kEntryKey};
    registry.values[std::string(kHkcu) + "\\Software\\Firma\\App"]["Licznik"] = {kRegDword, "\5\0\0\0"};
    registry.values[std::string(kHkcu) + "\\Software"]["Jezyk"] = {kRegSz, std::string("en\0", 3)};
    registry.values[kEntryKey]["DisplayName"] = {kRegSz, std::string("Notatnik\0", 9)};
    items = {
        ProductItem("Notatnik", "Notatnik"),
        PathItem(UninstallItemKind::kFolder, "C:\\Produkt"),
        File("C:\\Produkt\\app.exe", "program"),
        PathItem(UninstallItemKind::kFolder, "C:\\Produkt\\dane"),
        File("C:\\Produkt\\dane\\baza.mdb", "baza"),
        File("C:\\Produkt\\ustawienia.inf", "a=1"),
        KeyItem(kHkcu, "Software\\Firma"),
        KeyItem(kHkcu, "Software\\Firma\\App"),
        ValueItem(kHkcu, "Software\\Firma\\App", "Licznik", std::nullopt),
        ValueItem(kHkcu, "Software", "Jezyk", RegistryData{kRegSz, std::string("pl\0", 3)}),
        PathItem(UninstallItemKind::kShortcutFolder, "C:\\Menu\\Firma"),
        PathItem(UninstallItemKind::kShortcut, "C:\\Menu\\Firma\\App.lnk"),
        PathItem(UninstallItemKind::kEnd, ""),
    };
  }
  ~Uninstallation() override { SetJournalSink({}); }

  // The record as an installation leaves it: sealed in an entry that names its uninstaller.
  void Install() {
    disk.files[kRecord] = UninstallRecordText(items);
    registry.values[kEntryKey]["UninstallString"] = {kRegSz, StringValueData("\"C:\\Produkt\\uninstall.exe\" /UNINSTALL")};
    ASSERT_TRUE(WriteRecordSeal("Notatnik", SealOf(disk.files[kRecord]), true));
  }

  int Run(bool ask = true) {
    Install();
    return RunUninstallation({.view = view, .recordPath = kRecord, .ask = ask});
  }

  fakes::FakeUninstallFiles disk;
  fakes::FakeRegistry registry;
  ScopedUninstallFiles scopedDisk{disk};
  ScopedRegistry scopedRegistry{registry};
  fakes::FakeWizardView view;
  std::vector<UninstallItem> items;
  std::vector<std::string> log;
};

TEST_F(Uninstallation, UndoesEachKindInReverseOrderAndTheEntryLast) {
  EXPECT_EQ(Run(), kExitInstalled);
  const std::vector<std::string> removals = {
      "remove C:\\Menu\\Firma\\App.lnk",     "rmdir C:\\Menu\\Firma",
      "remove C:\\Produkt\\ustawienia.inf",  "remove C:\\Produkt\\dane\\baza.mdb",
      "remove C:\\Produkt\\app.exe",         "remove C:\\Produkt\\uninstall.dat",
      "remove C:\\Produkt\\uninstall.exe",   "rmdir C:\\Produkt\\dane",
      "rmdir C:\\Produkt",
  };
  EXPECT_EQ(disk.calls, removals);
  EXPECT_TRUE(disk.files.empty());
  // Values first (the one that was there before gets its data back), then the
  // keys created, deepest first, then the product's entry.
  const std::vector<std::string> expected = {
      "CloseKey " + std::string(kHkcu) + "\\Software\\Firma\\App",
      "DeleteEmptyKey " + std::string(kHkcu) + "\\Software\\Firma\\App",
      "DeleteEmptyKey " + std::string(kHkcu) + "\\Software\\Firma",
      "DeleteKey " + kEntryKey,
  };
  EXPECT_EQ(std::vector<std::string>(registry.calls.end() - 4, registry.calls.end()), expected);
  EXPECT_EQ(registry.Text(std::string(kHkcu) + "\\Software", "Jezyk"), "pl");
  EXPECT_EQ(registry.keys, std::set<std::string>{std::string(kHkcu) + "\\Software"});
  ASSERT_EQ(fakes::Dialogs().messages.size(), 2u);
  EXPECT_EQ(fakes::Dialogs().messages[0].kind, 3);
  EXPECT_EQ(fakes::Dialogs().messages[1].text, "Aplikacja \"Notatnik\" została usunięta z komputera.");
  EXPECT_EQ(view.overallPositions.back(), 100);
}

// One installation or removal of a product at a time: while another holds the
// product's mutex, nothing is removed and the run ends with 1618. Windows before
// 2000 know no global namespace.
TEST_F(Uninstallation, WhileAnotherRunHoldsTheProductNothingIsRemoved) {
  fakes::FakeMachine machine;
  ScopedMachine scopedMachine(machine);
  machine.namedMutexesElsewhere = {"Global\\Setuvane NOTATNIK"};
  const std::map<std::string, std::string> filesBefore = disk.files;
  EXPECT_EQ(Run(false), kExitAnotherRunning);
  disk.files.erase(kRecord);
  EXPECT_EQ(disk.files, filesBefore);
  EXPECT_TRUE(registry.keys.count(kEntryKey));
  ASSERT_EQ(fakes::Dialogs().problems.size(), 1u);
  EXPECT_EQ(fakes::Dialogs().problems[0].message, "Instalacja jest już uruchomiona.");
  EXPECT_EQ(fakes::Dialogs().problems[0].details, "Global\\Setuvane NOTATNIK");

  machine.version = VersionRecord{4, 10, 2222, 1};
  EXPECT_EQ(Run(false), kExitInstalled);
  EXPECT_EQ(machine.namedMutexes.back(), "Setuvane NOTATNIK");
}

// A second installation's record lists again what the first one made: each thing
// is undone once, and a value goes back to what it held before the first.
TEST_F(Uninstallation, WhatTwoInstallationsRecordedIsUndoneOnce) {
  items.pop_back();
  items.push_back(File("C:\\Produkt\\app.exe", "program"));
  items.push_back(ValueItem(kHkcu, "Software\\Firma\\App", "Licznik", RegistryData{kRegDword, "\5\0\0\0"}));
  items.push_back(PathItem(UninstallItemKind::kShortcut, "C:\\Menu\\Firma\\App.lnk"));
  EXPECT_EQ(Run(false), kExitInstalled);
  EXPECT_TRUE(disk.files.empty());
  EXPECT_FALSE(registry.keys.count(std::string(kHkcu) + "\\Software\\Firma\\App"));
  for (const std::string& line : log) EXPECT_EQ(line.find("already gone"), std::string::npos) << line;
  EXPECT_EQ(std::count(log.begin(), log.end(), "removed registry value: HKEY_CURRENT_USER\\Software\\Firma\\App "
                                                "\"Licznik\""),
            1);
}

TEST_F(Uninstallation, KeepsChangedUserDataAndFoldersThatAreNotEmpty) {
  disk.files["C:\\Produkt\\ustawienia.inf"] = "a=2";      // the user's settings now
  disk.files["C:\\Produkt\\app.exe"] = "patched";           // a program file goes however it changed
  disk.files["C:\\Produkt\\dane\\moje.txt"] = "mine";       // never the installation's
  disk.files.erase("C:\\Produkt\\dane\\baza.mdb");          // already gone
  EXPECT_EQ(Run(/*ask=*/false), kExitInstalled);
  EXPECT_EQ(disk.files.at("C:\\Produkt\\ustawienia.inf"), "a=2");
  EXPECT_EQ(disk.files.at("C:\\Produkt\\dane\\moje.txt"), "mine");
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\app.exe"));
  EXPECT_EQ(disk.folders, (std::set<std::string>{"C:\\Produkt", "C:\\Produkt\\dane"}));
  for (const char* line : {"stayed: C:\\Produkt\\ustawienia.inf (changed since the installation: it holds the "
                           "user's settings or data)",
                           "already gone: C:\\Produkt\\dane\\baza.mdb", "stayed: C:\\Produkt\\dane (not empty)"})
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
  EXPECT_TRUE(fakes::Dialogs().messages.empty());  // unattended: no question, no notice
  EXPECT_FALSE(registry.keys.count(kEntryKey));
}

TEST_F(Uninstallation, FilesInUseGoAtTheNextRestart) {
  disk.inUse = {"C:\\Produkt\\app.exe", "C:\\Produkt\\uninstall.exe"};
  EXPECT_EQ(Run(false), kExitRestartAdvised);
  // The program file is removed at restart with its folder; the waiting
  // uninstaller is moved out of the way and goes at restart from there.
  EXPECT_EQ(disk.atRestart,
            (std::vector<std::string>{"C:\\Produkt\\app.exe", "C:\\TEMP\\svu1.tmp", "C:\\Produkt"}));
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\uninstall.exe"));
  EXPECT_FALSE(registry.keys.count(kEntryKey));
}

TEST_F(Uninstallation, AFailedStepKeepsTheEntryAndTheRecordOfWhatIsLeft) {
  disk.refused = {"C:\\Produkt\\app.exe"};
  registry.refusedNames = {"Licznik"};
  EXPECT_EQ(Run(), kExitStepFailed);
  EXPECT_EQ(fakes::Dialogs().problems.size(), 2u);
  EXPECT_TRUE(registry.keys.count(kEntryKey));
  EXPECT_TRUE(disk.files.count("C:\\Produkt\\uninstall.exe"));
  const ParsedUninstallRecord left = ParseUninstallRecord(disk.files.at(kRecord));
  ASSERT_TRUE(left.Verified());
  const std::vector<UninstallItem> expected = {items[0], items[1], items[2], items[3], items[6], items[7], items[8]};
  EXPECT_EQ(left.items, expected);  // the keys stay while their value does
  // Another try, once the file can go, finishes the work.
  disk.refused.clear();
  registry.refusedNames.clear();
  EXPECT_EQ(RunUninstallation({.view = view, .recordPath = kRecord, .ask = false}), kExitInstalled);
  EXPECT_FALSE(registry.keys.count(kEntryKey));
  EXPECT_TRUE(disk.files.empty());
}

// A value goes back only through its key: a key that is gone took the value with
// it, but one that is there and will not open leaves the value as it is: reported
// once, kept in the record for another try.
TEST_F(Uninstallation, AValueThatCannotBePutBackIsReportedAndKeptForAnotherTry) {
  const std::string software = std::string(kHkcu) + "\\Software";
  registry.refusedKeys = {software};
  registry.keys.erase(software + "\\Firma\\App");
  EXPECT_EQ(Run(false), kExitStepFailed);
  ASSERT_EQ(fakes::Dialogs().problems.size(), 1u);
  EXPECT_EQ(fakes::Dialogs().problems[0].message, "Usunięcie wartości rejestru jest niemożliwe.");
  EXPECT_EQ(fakes::Dialogs().problems[0].hint,
            "Podczas usuwania wartości HKEY_CURRENT_USER\\Software \"Jezyk\" wystąpił problem");
  for (const char* line : {"already gone: HKEY_CURRENT_USER\\Software\\Firma\\App \"Licznik\" (its key is gone)",
                           "not restored: HKEY_CURRENT_USER\\Software \"Jezyk\" (its key cannot be opened)"})
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
  const ParsedUninstallRecord left = ParseUninstallRecord(disk.files.at(kRecord));
  ASSERT_TRUE(left.Verified());
  EXPECT_EQ(left.items, (std::vector<UninstallItem>{items[0], items[1], items[3], items[9]}));
  EXPECT_TRUE(registry.keys.count(kEntryKey));
}

TEST_F(Uninstallation, NothingIsRemovedAfterNoOrFromADamagedRecord) {
  fakes::Dialogs().answer = 7;
  EXPECT_EQ(Run(), kExitUninstallDeclined);
  EXPECT_TRUE(disk.calls.empty());
  fakes::Dialogs().answer = 6;
  disk.files[kRecord] = UninstallRecordText(items);
  disk.files[kRecord][40] ^= 1;
  EXPECT_EQ(RunUninstallation({.view = view, .recordPath = kRecord, .ask = true}), kExitStepFailed);
  disk.files.erase(kRecord);
  EXPECT_EQ(RunUninstallation({.view = view, .recordPath = kRecord, .ask = true}), kExitStepFailed);
  ASSERT_EQ(fakes::Dialogs().problems.size(), 2u);
  EXPECT_EQ(fakes::Dialogs().problems[0].message, "Zapis instalacji został zmieniony lub uszkodzony.");
  EXPECT_EQ(fakes::Dialogs().problems[0].hint,
            "Zapis instalacji C:\\Produkt\\uninstall.dat nie zgadza się z zapisem w rejestrze systemowym. Żaden plik "
            "nie został usunięty.");
  EXPECT_EQ(fakes::Dialogs().problems[1].message, "Odczytanie zapisu instalacji jest niemożliwe.");
  EXPECT_TRUE(disk.calls.empty());
  EXPECT_TRUE(registry.keys.count(kEntryKey));
}

// A folder of the product replaced by a junction, or an item that is a link
// itself, leads elsewhere: what lies behind it stays, the log says why, each link
// is reported once, and the rest goes as usual.
TEST_F(Uninstallation, NothingIsRemovedThroughAJunctionOrSymbolicLink) {
  disk.links = {"C:\\Produkt\\dane", "C:\\Menu\\Firma\\App.lnk"};
  disk.files["C:\\Produkt\\dane\\inny.dll"] = "someone else's";
  items.insert(items.end() - 1, File("C:\\Produkt\\dane\\inny.dll", "someone else's"));
  EXPECT_EQ(Run(false), kExitInstalled);
  EXPECT_EQ(disk.calls, (std::vector<std::string>{"remove C:\\Produkt\\ustawienia.inf", "remove C:\\Produkt\\app.exe",
                                                  "remove C:\\Produkt\\uninstall.dat",
                                                  "remove C:\\Produkt\\uninstall.exe"}));
  for (const char* line : {"stayed: C:\\Menu\\Firma\\App.lnk (a junction or symbolic link on the way: "
                           "C:\\Menu\\Firma\\App.lnk)",
                           "stayed: C:\\Produkt\\dane\\baza.mdb (a junction or symbolic link on the way: "
                           "C:\\Produkt\\dane)",
                           "stayed: C:\\Produkt\\dane (a junction or symbolic link on the way: C:\\Produkt\\dane)"})
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
  ASSERT_EQ(fakes::Dialogs().problems.size(), 2u);
  EXPECT_EQ(fakes::Dialogs().problems[1].message, "Usunięcie pliku lub katalogu zostało pominięte.");
  EXPECT_EQ(fakes::Dialogs().problems[1].hint,
            "Ścieżka C:\\Produkt\\dane\\inny.dll prowadzi przez połączenie katalogów lub łącze symboliczne.");
  EXPECT_EQ(fakes::Dialogs().problems[1].details, "C:\\Produkt\\dane");
  EXPECT_FALSE(registry.keys.count(kEntryKey));
}

// A file that was there before the product's first installation stays. A shared
// file loses this product's count and goes with the last one, and only when this
// product made it; one an earlier release recorded as its own and a later one
// counted follows the count.
TEST_F(Uninstallation, FilesThatWereThereStayAndSharedFilesGoWithTheirLastCount) {
  const std::string shared = std::string(kHklm) + "\\" + kSharedDllsPath;
  const std::map<std::string, std::pair<std::string, std::uint32_t>> sharedFiles = {
      {"C:\\Wspolne\\uzywany.dll", {"a", 2}}, {"C:\\Wspolne\\nasz.dll", {"b", 1}},
      {"C:\\Wspolne\\cudzy.dll", {"c", 1}}, {"C:\\Wspolne\\stary.dll", {"d", 2}}};
  disk.folders.insert("C:\\Wspolne");
  registry.keys.insert(shared);
  for (const auto& [path, file] : sharedFiles) {
    disk.files[path] = file.first;
    registry.values[shared][path] = {kRegDword, DwordValueData(file.second)};
  }
  disk.files["C:\\Produkt\\obcy.exe"] = "x";
  const auto sharedItem = [&](const char* path, bool created) {
    return SharedFileItem(path, 1, Crc(sharedFiles.at(path).first), created);
  };
  items.insert(items.end() - 1,
               {PathItem(UninstallItemKind::kForeignFile, "C:\\Produkt\\obcy.exe"),
                sharedItem("C:\\Wspolne\\uzywany.dll", true), sharedItem("C:\\Wspolne\\nasz.dll", true),
                sharedItem("C:\\Wspolne\\cudzy.dll", false), File("C:\\Wspolne\\stary.dll", "d"),
                sharedItem("C:\\Wspolne\\stary.dll", true)});
  EXPECT_EQ(Run(false), kExitInstalled);
  EXPECT_EQ(disk.files, (std::map<std::string, std::string>{{"C:\\Produkt\\obcy.exe", "x"},
                                                            {"C:\\Wspolne\\uzywany.dll", "a"},
                                                            {"C:\\Wspolne\\cudzy.dll", "c"},
                                                            {"C:\\Wspolne\\stary.dll", "d"}}));
  EXPECT_EQ(registry.values[shared].size(), 2u);
  EXPECT_EQ(registry.values[shared]["C:\\Wspolne\\uzywany.dll"].data, DwordValueData(1));
  EXPECT_EQ(registry.values[shared]["C:\\Wspolne\\stary.dll"].data, DwordValueData(1));
  for (const char* line : {"stayed: C:\\Produkt\\obcy.exe (it was there before the product's first installation)",
                           "stayed: C:\\Wspolne\\uzywany.dll (a shared file that 1 other installations still use)",
                           "stayed: C:\\Wspolne\\cudzy.dll (a shared file that was there before the product's "
                           "installation)"})
    EXPECT_NE(std::find(log.begin(), log.end(), line), log.end()) << line;
}

// This product and another count the same shared files. Its removal is stopped
// (here: the registry gives way) after the first count went down, and run again:
// the record stopped claiming the batch's counts before any went down, so none is
// taken twice; those not yet taken stay one too high, and the other product keeps
// every file.
TEST_F(Uninstallation, ARemovalStoppedAndRunAgainTakesNoCountTwice) {
  struct Stopped {};
  struct StoppingRegistry : fakes::FakeRegistry {
    int changesLeft = 1;
    bool SetValue(Key key, const std::string& name, std::uint32_t type, std::string_view data) override {
      Count(key);
      return FakeRegistry::SetValue(key, name, type, data);
    }
    bool DeleteValue(Key key, const std::string& name) override {
      Count(key);
      return FakeRegistry::DeleteValue(key, name);
    }
    void Count(Key key) {
      if (openHandles.count(key) && openHandles[key].ends_with("SharedDLLs") && changesLeft-- == 0) throw Stopped{};
    }
  };
  const std::string shared = std::string(kHklm) + "\\" + kSharedDllsPath;
  registry.keys.insert(shared);
  disk.folders.insert("C:\\Wspolne");
  items.pop_back();
  for (const std::string name : {"a.dll", "b.dll", "c.dll"}) {
    disk.files["C:\\Wspolne\\" + name] = name;
    registry.values[shared]["C:\\Wspolne\\" + name] = {kRegDword, DwordValueData(2)};
    items.push_back(File("C:\\Wspolne\\" + name, name));
    items.back().kind = UninstallItemKind::kSharedFile;
    items.back().created = true;
  }
  Install();
  StoppingRegistry stopping;
  static_cast<fakes::FakeRegistry&>(stopping) = registry;
  stopping.calls.clear();
  {
    ScopedRegistry scoped(stopping);
    EXPECT_THROW(RunUninstallation({.view = view, .recordPath = kRecord, .ask = false}), Stopped);
    // The record said so, on the disk and sealed, before the first count went down.
    const auto first = [&](const std::string& start) {
      return std::find_if(stopping.calls.begin(), stopping.calls.end(),
                          [&](const std::string& call) { return call.rfind(start, 0) == 0; });
    };
    EXPECT_LT(first("SetValue " + kEntryKey + " SetuvaneRecordDigest"), first("SetValue " + shared));
    stopping.changesLeft = 100;
    EXPECT_EQ(RunUninstallation({.view = view, .recordPath = kRecord, .ask = false}), kExitInstalled);
  }
  for (const char* name : {"a.dll", "b.dll", "c.dll"}) EXPECT_TRUE(disk.files.count(std::string("C:\\Wspolne\\") + name));
  EXPECT_EQ(stopping.Dword(shared, "C:\\Wspolne\\c.dll"), 1u);  // taken before the stop
  EXPECT_EQ(stopping.Dword(shared, "C:\\Wspolne\\b.dll"), 2u);  // one too high, never one too low
  EXPECT_EQ(stopping.Dword(shared, "C:\\Wspolne\\a.dll"), 2u);
}

// Windows or its user moved the desktop elsewhere through a junction or symbolic
// link: the product's shortcuts there, still as written, go through it, and so do
// a shared file still as installed and the folder made for a shortcut; a shortcut
// changed since stays. A file whose drive does not answer is no file gone: it stays
// in the record for another try.
TEST_F(Uninstallation, WhatIsStillExactlyOursGoesThroughALinkAndNothingUnreachableIsTakenForGone) {
  disk.links = {"C:\\Pulpit", "D:\\Wspolne"};
  disk.silent = {"Z:\\"};
  disk.folders.insert("C:\\Pulpit\\Firma");
  disk.files["C:\\Pulpit\\Firma\\App.lnk"] = "shortcut";
  disk.files["C:\\Pulpit\\Inny.lnk"] = "changed by the user";
  disk.files["D:\\Wspolne\\w.dll"] = "w";
  items.insert(items.end() - 1,
               {PathItem(UninstallItemKind::kShortcutFolder, "C:\\Pulpit\\Firma"),
                PathItem(UninstallItemKind::kShortcut, "C:\\Pulpit\\Firma\\App.lnk"),
                ShortcutSumItem("C:\\Pulpit\\Firma\\App.lnk", 8, Sha256Hex("shortcut")),
                PathItem(UninstallItemKind::kShortcut, "C:\\Pulpit\\Inny.lnk"),
                ShortcutSumItem("C:\\Pulpit\\Inny.lnk", 8, Sha256Hex("shortcut")),
                File("D:\\Wspolne\\w.dll", "w"), File("Z:\\Dane\\z.dll", "z")});
  EXPECT_EQ(Run(false), kExitStepFailed);
  for (const char* gone : {"C:\\Pulpit\\Firma\\App.lnk", "D:\\Wspolne\\w.dll"}) EXPECT_FALSE(disk.files.count(gone)) << gone;
  EXPECT_FALSE(disk.folders.count("C:\\Pulpit\\Firma"));
  EXPECT_EQ(disk.files["C:\\Pulpit\\Inny.lnk"], "changed by the user");
  EXPECT_NE(std::find(log.begin(), log.end(), "not removed: Z:\\Dane\\z.dll (it cannot be reached)"), log.end());
  const std::vector<UninstallItem> left = ParseUninstallRecord(disk.files.at(kRecord)).items;
  EXPECT_NE(std::find(left.begin(), left.end(), File("Z:\\Dane\\z.dll", "z")), left.end());
}

// HKEY_CURRENT_USER items recorded by another account are undone in that
// account's registry below HKEY_USERS while it is loaded, else they stay: the
// uninstalling account's own values are not touched.
TEST(UserHive, AnotherAccountsItemsAreUndoneInItsOwnRegistryOrLeft) {
  fakes::FakeRegistry registry;
  const std::string sid = "S-1-5-21-1-2-3-1001";
  const std::string key = "Software\\Firma";
  EXPECT_EQ(PlaceToUndo(registry, kHkcu, key, sid, "s-1-5-21-1-2-3-1001"), (RegistryPlace{kHkeyCurrentUser, key}));
  EXPECT_EQ(PlaceToUndo(registry, kHkcu, key, "", "S-1-5-18"), (RegistryPlace{kHkeyCurrentUser, key}));  // Windows 9x
  EXPECT_EQ(PlaceToUndo(registry, kHklm, key, sid, "S-1-5-18"), (RegistryPlace{kHkeyLocalMachine, key}));
  EXPECT_EQ(PlaceToUndo(registry, kHkcu, key, sid, "S-1-5-18"), std::nullopt);
  registry.keys.insert("HKEY_USERS\\" + sid);
  EXPECT_EQ(PlaceToUndo(registry, kHkcu, key, sid, "S-1-5-18"), (RegistryPlace{kHkeyUsers, sid + "\\" + key}));
}

TEST_F(Uninstallation, AnotherAccountsCurrentUserItemsStayWhenItsRegistryIsNotLoaded) {
  fakes::FakeMachine machine;
  ScopedMachine scopedMachine(machine);
  machine.userSid = "S-1-5-18";
  items.insert(items.begin() + 6, PathItem(UninstallItemKind::kUser, "S-1-5-21-1-2-3-1001"));
  const auto keys = registry.keys;
  EXPECT_EQ(Run(false), kExitInstalled);
  EXPECT_TRUE(disk.files.empty());
  EXPECT_EQ(registry.keys.size() + 1, keys.size());  // only the entry went
  EXPECT_EQ(registry.Text(std::string(kHkcu) + "\\Software", "Jezyk"), "en");
  EXPECT_NE(std::find(log.begin(), log.end(),
                      "stayed: HKEY_CURRENT_USER\\Software\\Firma\\App \"Licznik\" (in the registry of the account "
                      "that installed it, S-1-5-21-1-2-3-1001, which is not loaded)"),
            log.end());
}

// Every folder below the drive or share is asked, from the outermost, and the item
// itself; the root is not.
TEST(LinkOnTheWay, FoldersBelowTheRootAndTheItem) {
  const struct {
    std::string path;
    std::set<std::string> links;
    std::optional<std::string> found;
  } cases[] = {
      {"C:\\A\\B\\c.txt", {"C:\\A\\B", "C:\\A"}, "C:\\A"},
      {"C:\\A\\B\\", {"C:\\A\\B"}, "C:\\A\\B"},
      {"C:\\A\\B\\c.txt", {"C:\\A\\B\\c.txt"}, "C:\\A\\B\\c.txt"},
      {"C:\\A\\B\\c.txt", {"C:", "C:\\", "C:\\A\\B\\c"}, std::nullopt},
      {"\\\\serwer\\udział\\A\\b.txt", {"\\\\serwer\\udział", "\\\\serwer\\udział\\A"}, "\\\\serwer\\udział\\A"},
      {"\\\\?\\C:\\A\\b.txt", {"\\\\?\\C:\\A"}, "\\\\?\\C:\\A"},
      {"\\\\?\\UNC\\serwer\\udział\\b.txt", {"\\\\?\\UNC\\serwer\\udział"}, std::nullopt},
      {"\\\\?\\UNC\\serwer\\udział\\b.txt", {"\\\\?\\UNC\\serwer\\udział\\b.txt"}, "\\\\?\\UNC\\serwer\\udział\\b.txt"},
      {"A\\b.txt", {"A"}, std::nullopt},  // no full path: nothing to walk
  };
  for (const auto& c : cases) {
    fakes::FakeUninstallFiles disk;
    disk.links = c.links;
    EXPECT_EQ(LinkOnTheWay(disk, c.path), c.found) << c.path;
  }
}

// Windows 9x removes files at its next start through WININIT.INI's [rename]
// section, which may be missing, elsewhere in the file or written in any case.
TEST(RemovalAtRestart, Windows9xGetsALineInWininit) {
  EXPECT_EQ(WininitWithRemoval("", "C:\\PROGRA~1\\A.EXE"), "[rename]\r\nNUL=C:\\PROGRA~1\\A.EXE\r\n");
  EXPECT_EQ(WininitWithRemoval("[Other]\r\nx=1", "C:\\B"), "[Other]\r\nx=1\r\n[rename]\r\nNUL=C:\\B\r\n");
  EXPECT_EQ(WininitWithRemoval("[RENAME]\r\nNUL=C:\\A\r\n[Other]\r\n", "C:\\B"),
            "[RENAME]\r\nNUL=C:\\B\r\nNUL=C:\\A\r\n[Other]\r\n");
}

// A reinstallation takes its own paths out of the removals at restart; renames,
// other paths and whatever follows the list's end stay byte for byte.
TEST(RemovalAtRestart, AReinstallationTakesItsPathsOutOfPendingRenames) {
  auto bytes = [](std::u16string_view text) {
    std::string data;
    for (const char16_t unit : text) data += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return data;
  };
  const PathsIgnoringCase ours({"C:\\Produkt\\app.exe", "C:\\Produkt", "C:\\Łódź\\żółw.dll"});
  const std::u16string list = std::u16string(u"\\??\\c:\\PRODUKT\\APP.EXE\0", 23) + u'\0' +   // ours: taken
                              std::u16string(u"\\??\\C:\\Produkt\\app.exe\0!\\??\\C:\\Nowy\\app.exe\0", 44) +  // a rename
                              std::u16string(u"\\??\\C:\\Inny\\a.dll\0\0", 19) +   // another's
                              std::u16string(u"\\??\\C:\\ŁÓDŹ\\ŻÓŁW.DLL\0\0", 22) +  // ours, any case
                              std::u16string(u"\\??\\C:\\Produkt\0\0", 16) +       // its folder
                              std::u16string(u"\0\0", 2);                          // the end, and beyond
  std::vector<std::string> taken;
  const std::string kept = PendingRenamesWithout(bytes(list) + "x", [&](const std::string& p) { return ours.Holds(p); }, taken);
  EXPECT_EQ(taken, (std::vector<std::string>{"c:\\PRODUKT\\APP.EXE", "C:\\ŁÓDŹ\\ŻÓŁW.DLL", "C:\\Produkt"}));
  EXPECT_EQ(kept, bytes(std::u16string(u"\\??\\C:\\Produkt\\app.exe\0!\\??\\C:\\Nowy\\app.exe\0", 44) +
                        std::u16string(u"\\??\\C:\\Inny\\a.dll\0\0", 19) + std::u16string(u"\0\0", 2)) +
                      "x");
  // A pair cut short is left as it is.
  taken.clear();
  const std::string cut = bytes(std::u16string(u"\\??\\C:\\Produkt\0", 15));
  EXPECT_EQ(PendingRenamesWithout(cut, [&](const std::string& p) { return ours.Holds(p); }, taken), cut);
  EXPECT_TRUE(taken.empty());

  const std::string wininit =
      "[Other]\r\nNUL=C:\\PRODUKT\\APP.EXE\r\n[rename]\r\nNUL=C:\\PRODUKT\\APP.EXE\r\nnul=c:\\inny\\a.dll\r\n"
      "C:\\PRODUKT\\NOWY.EXE=C:\\PRODUKT\\APP.EXE\r\nNul = C:\\produkt\\app.exe\nNUL=c:\\Produkt\\App.exe";
  const std::string keptIni = WininitWithout(
      wininit, [](const std::string& p) { return AsciiLower(p) == "c:\\produkt\\app.exe"; }, taken);
  EXPECT_EQ(keptIni, "[Other]\r\nNUL=C:\\PRODUKT\\APP.EXE\r\n[rename]\r\nnul=c:\\inny\\a.dll\r\n"
                     "C:\\PRODUKT\\NOWY.EXE=C:\\PRODUKT\\APP.EXE\r\nNul = C:\\produkt\\app.exe\n");
  EXPECT_EQ(taken, (std::vector<std::string>{"C:\\PRODUKT\\APP.EXE", "c:\\Produkt\\App.exe"}));

  // Installing, a product also takes out a file left waiting to replace one of its
  // paths at the restart: the earlier installation's, which would win over the new.
  const auto pair = [](std::u16string source, std::u16string target) { return source + u'\0' + target + u'\0'; };
  const std::u16string moves =
      pair(u"\\??\\C:\\Produkt\\~sv00001.new", u"!\\??\\C:\\PRODUKT\\APP.EXE") +
      pair(u"\\??\\C:\\Inny\\~sv00002.new", u"!\\??\\C:\\Inny\\b.dll") + u'\0';
  taken.clear();
  EXPECT_EQ(PendingRenamesWithout(bytes(moves), [&](const std::string& p) { return ours.Holds(p); }, taken, true),
            bytes(pair(u"\\??\\C:\\Inny\\~sv00002.new", u"!\\??\\C:\\Inny\\b.dll") + u'\0'));
  EXPECT_EQ(taken, std::vector<std::string>{"C:\\PRODUKT\\APP.EXE"});
  taken.clear();
  EXPECT_EQ(WininitWithout("[rename]\r\nC:\\PRODUKT\\APP.EXE=C:\\PRODUKT\\~SV00001.NEW\r\n",
                           [](const std::string& p) { return AsciiLower(p) == "c:\\produkt\\app.exe"; }, taken, true),
            "[rename]\r\n");
  EXPECT_EQ(taken, std::vector<std::string>{"C:\\PRODUKT\\APP.EXE"});
}

}  // namespace
}  // namespace setuvane
