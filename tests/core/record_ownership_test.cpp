// An uninstall record that belongs to one product, is vouched for by its entry's
// seal and is written ahead of the changes: the seal and the tail beyond it, a
// line cut off, what a record of the first releases is trusted with, and which
// record an installation carries over (its own key only, found through its own
// entry, whatever the spelling of the folder).
#include <gtest/gtest.h>

#include "core/package/settings.h"
#include "core/run/exit_codes.h"
#include "core/uninstallation/product_entry.h"
#include "core/uninstallation/record_authentication.h"
#include "core/uninstallation/uninstall_record.h"
#include "core/uninstallation/uninstall_setup.h"
#include "core/uninstallation/uninstallation.h"
#include "system/install_journal.h"
#include "system/machine.h"
#include "tests/core/fake_uninstall_files.h"
#include "tests/core/fake_wizard_view.h"
#include "tests/core/machine_on_uninstall_disk.h"
#include "tests/core/recording_dialogs.h"
#include "tests/system/fake_machine.h"
#include "tests/system/fake_registry.h"

namespace setuvane {
namespace {

constexpr char kHklm[] = "HKEY_LOCAL_MACHINE";
constexpr char kRecord[] = "C:\\Produkt\\uninstall.dat";

std::string EntryKey(const std::string& name) { return std::string(kHklm) + "\\" + EntryKeyPath(name); }

using SharedMachine = fakes::MachineOnUninstallDisk;

class RecordOwnership : public ::testing::Test {
 protected:
  RecordOwnership() {
    SetJournalSink([this](const std::string& line) { log.push_back(line); });
    fakes::Dialogs() = {};
    SetDefaultSettings();
    InstallMainTitle = "Notatnik 1.0";
    ProductPublisher = "Firma";
    disk.folders = {"C:\\Program Files"};
    disk.files["E:\\setuvane.exe"] = "MZ";
  }
  ~RecordOwnership() override {
    SetUninstallRecorder({});
    SetJournalSink({});
    SetDefaultSettings();
  }

  // An installation into `folder` that makes one file.
  void Install(const std::string& folder, const std::string& file) {
    UninstallSetup setup;
    setup.Begin(folder, nullptr);
    RecordUninstallItem(FileItem(file, 1, 2));
    disk.files[file] = "x";
    setup.Finish();
  }

  int Uninstall(const std::string& record) {
    return RunUninstallation({.view = view, .recordPath = record, .ask = false});
  }

  bool Logged(const std::string& start) const {
    return std::any_of(log.begin(), log.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
  }

  fakes::FakeUninstallFiles disk;
  fakes::FakeRegistry registry;
  SharedMachine machine{disk};
  ScopedUninstallFiles scopedDisk{disk};
  ScopedRegistry scopedRegistry{registry};
  ScopedMachine scopedMachine{machine};
  fakes::FakeWizardView view;
  std::vector<std::string> log;
};

// The seal vouches for the record up to its length; a byte changed within is
// refused, a tail beyond is left out, and a last line cut off by a stop is too.
TEST(RecordSeal, CoversTheRecordUpToItsLength) {
  const std::string text = UninstallRecordText({ProductItem("P", "P"), FileItem("C:\\P\\a.exe", 1, 2)});
  const RecordSeal seal = SealOf(text);
  EXPECT_EQ(seal.length, text.size());
  EXPECT_EQ(seal.digest.size(), 64u);
  EXPECT_EQ(SealedPart(text, seal), std::optional<std::string_view>(text));
  const std::string tail = text + "file\tC:\\Windows\\system32\\kernel32.dll\t1\t00000000\t";
  EXPECT_EQ(SealedPart(tail, seal), std::optional<std::string_view>(text));
  for (size_t at : {size_t{0}, text.size() / 2, text.size() - 1}) {
    std::string changed = text;
    changed[at] ^= 0x20;
    EXPECT_FALSE(SealedPart(changed, seal)) << at;
  }
  EXPECT_FALSE(SealedPart(text.substr(0, text.size() - 1), seal));

  const ParsedUninstallRecord torn = ParseUninstallRecord(tail);
  EXPECT_TRUE(torn.Verified());
  EXPECT_TRUE(torn.tornTail);
  EXPECT_EQ(torn.items.size(), 2u);
}

// Lines are queued, then written in one piece, flushed and sealed: after each
// commit the seal is that of the whole file. A whole new record is written beside
// its place and sealed before it is moved there.
TEST(RecordSeal, TheWriterSealsEachBatchAfterItReachesTheDisk) {
  fakes::FakeUninstallFiles disk;
  std::vector<std::pair<RecordSeal, std::string>> seals;  // each seal with the record as it was then
  UninstallRecordWriter writer(disk, kRecord, [&](const RecordSeal& seal, bool) {
    const std::string pending = std::string(kRecord) + ".new";
    seals.push_back({seal, disk.files.count(pending) ? disk.files[pending] : disk.files[kRecord]});
    return true;
  });
  ASSERT_TRUE(writer.Start({ProductItem("P", "P")}));
  EXPECT_FALSE(disk.files.count(std::string(kRecord) + ".new"));
  writer.Announce(FileItem("C:\\P\\a.exe", 1, 2));
  writer.Announce(FileItem("C:\\P\\b.exe", 1, 2));
  const std::string beforeCommit = disk.files[kRecord];
  EXPECT_EQ(seals.size(), 1u);
  ASSERT_TRUE(writer.Commit());
  EXPECT_NE(disk.files[kRecord], beforeCommit);
  EXPECT_EQ(disk.flushes, 1);
  ASSERT_TRUE(writer.MakeLasting());
  ASSERT_EQ(seals.size(), 3u);
  for (const auto& [seal, record] : seals) EXPECT_EQ(seal, SealOf(record));
  EXPECT_EQ(seals.back().first, SealOf(disk.files[kRecord]));
  EXPECT_EQ(ParseUninstallRecord(disk.files[kRecord]).items.size(), 3u);
}

// A record of the first releases (no seal in its entry) is trusted only with what
// cannot harm the machine beyond the product: no earlier value is written back, no
// file outside the program folder goes, and its key and folder lines, which anyone
// who can write the program folder can forge, reach only the product's own keys,
// the program folder and the shell's shortcut folders.
TEST(RecordSeal, ARecordWithoutASealIsTrustedInPart) {
  std::vector<std::string> distrusted;
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::vector<UninstallItem> items = {
      ProductItem("P", "P"),
      PathItem(UninstallItemKind::kFolder, "C:\\Program Files\\P"),
      FileItem("C:\\Program Files\\P\\a.exe", 1, 2),
      FileItem("C:\\Program Files\\P\\..\\..\\Windows\\win.ini", 1, 2),
      FileItem("C:\\Windows\\System32\\drivers\\etc\\hosts", 1, 2),
      PathItem(UninstallItemKind::kShortcut, "C:\\Menu\\P.lnk"),
      PathItem(UninstallItemKind::kShortcut, "C:\\Menu\\P.exe"),
      KeyItem(kHklm, "Software\\P"),
      ValueItem(kHklm, "Software\\P", "Wersja", std::nullopt),
      ValueItem(kHklm, run, "P", std::nullopt),
      ValueItem(kHklm, "Software\\P", "Stara", RegistryData{kRegSz, std::string("x\0", 2)}),
      SharedFileItem("C:\\Windows\\System32\\kernel32.dll", 1, 2, true),
      PathItem(UninstallItemKind::kUser, "S-1-5-21-1-2-3-500"),
      // Forged: another's key and value, a system folder, a shortcut anywhere.
      KeyItem(kHklm, run),
      ValueItem(kHklm, run, "Antywirus", std::nullopt),
      PathItem(UninstallItemKind::kFolder, "C:\\Windows\\Temp"),
      PathItem(UninstallItemKind::kShortcut, "C:\\Windows\\Start.lnk"),
      KeyItem("HKEY_CLASSES_ROOT", "P"),
  };
  const std::vector<UninstallItem> trusted =
      TrustedWithoutSeal(items, "C:\\Program Files\\P\\", {"P", "P 1.0", ""}, {"C:\\Menu\\"}, distrusted);
  const std::vector<UninstallItem> expected = {items[0], items[1], items[2], items[5], items[7], items[8]};
  EXPECT_EQ(trusted, expected);
  ASSERT_EQ(distrusted.size(), 12u);
  EXPECT_EQ(distrusted[0], "stayed: C:\\Program Files\\P\\..\\..\\Windows\\win.ini (the record of an earlier version "
                           "has no seal in its entry: it is not trusted with this)");
}

// A record that a user changed, or extended beyond its seal, removes nothing it
// does not vouch for; the uninstaller refuses a changed one whole (exit 4).
TEST_F(RecordOwnership, OnlyWhatTheSealVouchesForIsRemoved) {
  Install("C:\\Produkt", "C:\\Produkt\\app.exe");
  disk.files["C:\\Windows\\win.ini"] = "mine";
  const std::string sealed = disk.files[kRecord];
  std::uint32_t chain = 0;
  for (const UninstallItem& item : ParseUninstallRecord(sealed).items) UninstallRecordLine(item, chain);
  disk.files[kRecord] += UninstallRecordLine(FileItem("C:\\Windows\\win.ini", 4, 0), chain);
  EXPECT_EQ(Uninstall(kRecord), kExitInstalled);
  EXPECT_EQ(disk.files.count("C:\\Windows\\win.ini"), 1u);
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\app.exe"));
  EXPECT_FALSE(registry.keys.count(EntryKey("Firma Notatnik 1.0")));

  Install("C:\\Produkt", "C:\\Produkt\\app.exe");
  const std::string record = disk.files[kRecord];
  disk.files[kRecord] = UninstallRecordText({ProductItem("Firma Notatnik 1.0", "Notatnik 1.0"),
                                             FileItem("C:\\Windows\\win.ini", 4, 0)});
  EXPECT_EQ(Uninstall(kRecord), kExitStepFailed);
  EXPECT_EQ(disk.files.count("C:\\Windows\\win.ini"), 1u);
  EXPECT_EQ(disk.files.count("C:\\Produkt\\app.exe"), 1u);
  ASSERT_EQ(fakes::Dialogs().problems.size(), 1u);
  EXPECT_EQ(fakes::Dialogs().problems[0].message, "Zapis instalacji został zmieniony lub uszkodzony.");
  // Stopped between the seal of a record written anew and its move into place:
  // the one beside it is the record the seal names.
  disk.files[std::string(kRecord) + ".new"] = record;
  EXPECT_EQ(Uninstall(kRecord), kExitInstalled);
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\app.exe"));
  EXPECT_FALSE(disk.files.count(std::string(kRecord) + ".new"));
}

// Installed again under the same key, the product carries its record over; an
// upgrade whose title changed does so only with a PRODUCT_ID, and its entry's key
// is that identity; without one it is another product beside it in the folder,
// with an uninstaller and record of its own.
TEST_F(RecordOwnership, ARecordIsCarriedOverByItsOwnProductOnly) {
  Install("C:\\Produkt", "C:\\Produkt\\a.exe");
  Install("C:\\Produkt", "C:\\Produkt\\b.exe");
  const std::vector<UninstallItem> items = ParseUninstallRecord(disk.files[kRecord]).items;
  EXPECT_EQ(std::count_if(items.begin(), items.end(),
                          [](const UninstallItem& item) { return item.kind == UninstallItemKind::kFile; }),
            2);

  InstallMainTitle = "Notatnik 2.0";
  Install("C:\\Produkt", "C:\\Produkt\\c.exe");
  EXPECT_TRUE(registry.keys.count(EntryKey("Firma Notatnik 1.0")));
  EXPECT_TRUE(registry.keys.count(EntryKey("Firma Notatnik 2.0")));
  EXPECT_EQ(registry.Text(EntryKey("Firma Notatnik 2.0"), "UninstallString"),
            "\"C:\\Produkt\\uninstall2.exe\" /UNINSTALL");
  EXPECT_EQ(Uninstall("C:\\Produkt\\uninstall2.dat"), kExitInstalled);
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\c.exe"));
  EXPECT_TRUE(disk.files.count("C:\\Produkt\\a.exe"));
  EXPECT_TRUE(disk.files.count(kRecord));
  EXPECT_EQ(Uninstall(kRecord), kExitInstalled);
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\b.exe"));

  ProductId = "{6F1B2C9A-0D3E-4B5F-9A7C-1E2D3F4A5B6C}";
  InstallMainTitle = "Notatnik 1.0";
  Install("C:\\Produkt", "C:\\Produkt\\a.exe");
  InstallMainTitle = "Notatnik 2.0";
  Install("C:\\Produkt", "C:\\Produkt\\b.exe");
  EXPECT_EQ(ProductEntryKey(), ProductId);
  EXPECT_EQ(registry.Text(EntryKey(ProductId), "DisplayName"), "Notatnik 2.0");
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\uninstall2.dat"));
  EXPECT_EQ(Uninstall(kRecord), kExitInstalled);
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\a.exe"));
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\b.exe"));
  EXPECT_FALSE(registry.keys.count(EntryKey(ProductId)));
}

// An entry that another installer made under the product's key stays as it was:
// the product takes a key of its own beside it, and its removal leaves the other.
TEST_F(RecordOwnership, AnotherInstallersEntryIsNeitherOverwrittenNorDeleted) {
  const std::string foreign = EntryKey("Firma Notatnik 1.0");
  registry.keys.insert(foreign);
  registry.values[foreign]["UninstallString"] = {kRegSz, StringValueData("MsiExec.exe /X{1234}")};
  Install("C:\\Produkt", "C:\\Produkt\\a.exe");
  EXPECT_EQ(registry.Text(foreign, "UninstallString"), "MsiExec.exe /X{1234}");
  EXPECT_EQ(registry.values[foreign].size(), 1u);
  const std::string own = EntryKey("Firma Notatnik 1.0 (2)");
  EXPECT_EQ(registry.Text(own, "DisplayName"), "Notatnik 1.0");
  Install("C:\\Produkt", "C:\\Produkt\\b.exe");  // found again beside the other
  EXPECT_FALSE(registry.keys.count(EntryKey("Firma Notatnik 1.0 (3)")));
  EXPECT_EQ(Uninstall(kRecord), kExitInstalled);
  EXPECT_FALSE(registry.keys.count(own));
  EXPECT_TRUE(registry.keys.count(foreign));
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\a.exe"));
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\b.exe"));
}

// One folder spelled two ways is one folder: the record is carried over in place,
// not deleted as if it had moved; a real move hands it over and its old
// uninstaller goes.
TEST_F(RecordOwnership, OneFolderSpelledTwoWaysKeepsItsRecord) {
  machine.longNames["C:\\PRODUK~1"] = "C:\\Produkt";
  Install("C:\\Produkt", "C:\\Produkt\\a.exe");
  Install("C:\\PRODUK~1\\", "C:\\Produkt\\b.exe");
  Install("C://Produkt//.", "C:\\Produkt\\c.exe");
  const ParsedUninstallRecord record = ParseUninstallRecord(disk.files[kRecord]);
  EXPECT_EQ(record.items.front(), ProductItem("Firma Notatnik 1.0", "Notatnik 1.0"));
  EXPECT_EQ(std::count_if(record.items.begin(), record.items.end(),
                          [](const UninstallItem& item) { return item.kind == UninstallItemKind::kFile; }),
            3);
  EXPECT_EQ(registry.Text(EntryKey("Firma Notatnik 1.0"), "InstallLocation"), "C:\\Produkt\\");

  Install("C:\\Inny", "C:\\Inny\\d.exe");
  EXPECT_FALSE(disk.files.count(kRecord));
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\uninstall.exe"));
  EXPECT_EQ(Uninstall("C:\\Inny\\uninstall.dat"), kExitInstalled);
  for (const char* file : {"C:\\Produkt\\a.exe", "C:\\Produkt\\b.exe", "C:\\Produkt\\c.exe", "C:\\Inny\\d.exe"})
    EXPECT_FALSE(disk.files.count(file)) << file;
}

// Only the folders a run makes are known empty: one an earlier installation made
// may hold another product's files since, so a later run asks the disk there.
TEST_F(RecordOwnership, OnlyTheFoldersThisRunMakesAreKnownEmpty) {
  {
    UninstallSetup first;
    ASSERT_TRUE(first.Begin("C:\\Produkt", nullptr));
    RecordUninstallItem(PathItem(UninstallItemKind::kFolder, "C:\\Produkt\\dane"));
    disk.folders.insert("C:\\Produkt\\dane");
    EXPECT_TRUE(FolderMadeThisRun("C:\\Produkt"));
    EXPECT_TRUE(FolderMadeThisRun("c:\\PRODUKT\\dane"));
    first.Finish();
  }
  UninstallSetup second;
  ASSERT_TRUE(second.Begin("C:\\Produkt", nullptr));
  EXPECT_FALSE(FolderMadeThisRun("C:\\Produkt"));
  EXPECT_FALSE(FolderMadeThisRun("C:\\Produkt\\dane"));
}

// A power cut while a batch was appended can leave stale bytes, line ends and all,
// past the sealed part: they are ignored (and logged), the product is removed.
TEST_F(RecordOwnership, DamagePastTheSealIsIgnored) {
  Install("C:\\Produkt", "C:\\Produkt\\app.exe");
  disk.files[kRecord] += "file\tC:\\Windows\\x\t1\t00000000\tBAD00000\r\n\0\0\0\r\n";
  EXPECT_EQ(Uninstall(kRecord), kExitInstalled);
  EXPECT_FALSE(disk.files.count("C:\\Produkt\\app.exe"));
  EXPECT_TRUE(Logged("ignored: "));
}

// Two products installed into one folder at the same moment: the other one takes
// the first uninstaller's place between this one's look and its claim. Each ends
// with a place of its own.
TEST_F(RecordOwnership, TwoProductsInstalledAtOnceTakeTwoUninstallerPlaces) {
  const std::string other = UninstallRecordText({ProductItem("Inny", "Inny")});
  disk.folders.insert("C:\\Produkt");
  disk.afterMiss = [&](const std::string& path) {
    if (path == kRecord) disk.files[kRecord] = other;
  };
  Install("C:\\Produkt", "C:\\Produkt\\app.exe");
  EXPECT_EQ(disk.files[kRecord], other);
  EXPECT_EQ(registry.Text(EntryKey("Firma Notatnik 1.0"), "UninstallString"),
            "\"C:\\Produkt\\uninstall2.exe\" /UNINSTALL");
}

// A record that cannot be written on stops the installation before its next
// change: the step is told, and the record is not marked complete. The seal is one
// value, which a stop never leaves half written.
TEST_F(RecordOwnership, ARecordThatCannotBeWrittenOnStopsTheInstallation) {
  UninstallSetup setup;
  ASSERT_TRUE(setup.Begin("C:\\Produkt", nullptr));
  EXPECT_TRUE(setup.Kept());
  const std::string entry = EntryKey("Firma Notatnik 1.0");
  EXPECT_EQ(registry.Text(entry, kRecordDigestValue), std::to_string(disk.files[kRecord].size()) + ":" +
                                                         SealOf(disk.files[kRecord]).digest);
  EXPECT_FALSE(registry.values[entry].count(kRecordLengthValue));
  disk.appendFails = true;
  EXPECT_FALSE(RecordUninstallItem(FileItem("C:\\Produkt\\a.exe", 1, 2)));
  disk.appendFails = false;
  EXPECT_FALSE(RecordUninstallItem(FileItem("C:\\Produkt\\b.exe", 1, 2)));
  EXPECT_FALSE(setup.Kept());
  setup.Finish();
  EXPECT_FALSE(ParseUninstallRecord(disk.files[kRecord]).Complete());
  // An entry of the releases before, the length in a value of its own, still reads.
  registry.values[entry][kRecordLengthValue] = {kRegSz, StringValueData("12")};
  registry.values[entry][kRecordDigestValue] = {kRegSz, StringValueData("ab")};
  EXPECT_EQ(ReadExistingEntry("Firma Notatnik 1.0")->seal, (RecordSeal{12, "ab"}));
}

// A PRODUCT_ID too long for a key is cut between letters, never inside one.
TEST_F(RecordOwnership, ALongProductIdIsCutBetweenLetters) {
  ProductId = std::string(199, 'x') + "łódź";
  EXPECT_EQ(ProductEntryKey(), std::string(199, 'x'));
}

}  // namespace
}  // namespace setuvane
