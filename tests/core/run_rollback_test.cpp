// All or nothing: an update that fails is undone from its record, the latest
// change first, down to the earlier installation's record and entry; a run that a
// kill stopped is undone at the next start (after a question, where a person is
// there); files that programs hold are settled before anything is written, and
// one that stays in use waits beside its place for the restart.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "archive/memory_file_system.h"
#include "core/installation/file_holders.h"
#include "core/installation/files_in_use.h"
#include "core/installation/files_kept_aside.h"
#include "core/package/settings.h"
#include "core/uninstallation/product_entry.h"
#include "core/uninstallation/record_authentication.h"
#include "core/uninstallation/stopped_run.h"
#include "core/run/exit_codes.h"
#include "core/uninstallation/uninstall_setup.h"
#include "core/uninstallation/uninstallation.h"
#include "dialogs/message_routines.h"
#include "system/install_journal.h"
#include "system/sha256.h"
#include "system/shared_file_counts.h"
#include "tests/core/fake_wizard_view.h"
#include "tests/core/machine_on_uninstall_disk.h"
#include "tests/core/recording_dialogs.h"
#include "tests/system/fake_registry.h"

namespace setuvane {
namespace {

constexpr char kHklm[] = "HKEY_LOCAL_MACHINE";
constexpr char kFolder[] = "C:\\Produkt";
constexpr char kRecord[] = "C:\\Produkt\\uninstall.dat";
constexpr char kProgram[] = "C:\\Produkt\\app.exe";
constexpr char kAsideFolder[] = "C:\\Produkt\\sv00001.old";
constexpr char kAside[] = "C:\\Produkt\\sv00001.old\\app.exe";
constexpr char kLibrary[] = "C:\\WINDOWS\\SYSTEM\\wspolny.dll";
constexpr char kLink[] = "C:\\Menu\\Notatnik.lnk";

size_t At(const std::vector<std::string>& calls, const std::string& call) {
  return static_cast<size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
}

class RunRollback : public ::testing::Test {
 protected:
  RunRollback() {
    SetJournalSink([this](const std::string& line) { log.push_back(line); });
    fakes::Dialogs() = {};
    SetDefaultSettings();
    InstallMainTitle = "Notatnik";
    ProductId = "Notatnik";
    disk.folders = {"C:\\Menu", "C:\\WINDOWS\\SYSTEM"};
    disk.files["E:\\setuvane.exe"] = "MZ";
    const std::string shared = std::string(kHklm) + "\\" + kSharedDllsPath;
    registry.keys.insert(shared);
    registry.values[shared];
  }
  ~RunRollback() override {
    SetUninstallRecorder({});
    SetJournalSink({});
    SetDefaultSettings();
  }

  std::string EntryText(const char* name) { return registry.Text(std::string(kHklm) + "\\" + EntryKeyPath("Notatnik"), name); }

  // 1.0, installed whole: its program and a registry value.
  void InstallFirst() {
    ProductVersion = "1.0";
    UninstallSetup setup;
    ASSERT_TRUE(setup.Begin(kFolder, nullptr));
    RecordUninstallItem(FileItem(kProgram, 3, 0));
    disk.files[kProgram] = "1.0";
    RecordUninstallItem(KeyItem(kHklm, "Software\\Firma"));
    RecordUninstallItem(ValueItem(kHklm, "Software\\Firma", "Wersja", std::nullopt));
    registry.keys.insert("HKEY_LOCAL_MACHINE\\Software\\Firma");
    registry.values["HKEY_LOCAL_MACHINE\\Software\\Firma"]["Wersja"] = {kRegSz, StringValueData("1.0")};
    setup.Finish();
  }

  // 2.0 up to its shortcut: the program written over (kept aside), a library of
  // its own counted among the shared files, the value written again, a key and a
  // shortcut of its own, each recorded before it is made.
  void UpdateHalfWay(UninstallSetup& setup) {
    ProductVersion = "2.0";
    ASSERT_TRUE(setup.Begin(kFolder, nullptr));
    {
      UninstallItemBatch batch;
      RecordUninstallItem(FileItem(kProgram, 3, 1));
      RecordUninstallItem(PairItem(UninstallItemKind::kAside, kProgram, kAside));
      CountSharedFileIn(kLibrary, false);
      RecordUninstallItem(SharedFileItem(kLibrary, 3, 2, true));
    }
    disk.folders.insert(kAsideFolder);
    disk.files[kAside] = disk.files[kProgram];
    disk.files[kProgram] = disk.files[kLibrary] = "2.0";
    RecordUninstallItem(ValueItem(kHklm, "Software\\Firma", "Wersja", RegistryData{kRegSz, StringValueData("1.0")}));
    registry.values["HKEY_LOCAL_MACHINE\\Software\\Firma"]["Wersja"] = {kRegSz, StringValueData("2.0")};
    RecordUninstallItem(KeyItem(kHklm, "Software\\Firma\\Opcje"));
    registry.keys.insert("HKEY_LOCAL_MACHINE\\Software\\Firma\\Opcje");
    RecordUninstallItem(PathItem(UninstallItemKind::kShortcut, kLink));
    disk.files[kLink] = "lnk";
  }

  // What the machine holds of the product, besides the calls made.
  auto State() const {
    auto values = registry.values;
    return std::make_tuple(disk.files, disk.folders, registry.keys, values);
  }

  fakes::FakeUninstallFiles disk;
  fakes::FakeRegistry registry;
  fakes::MachineOnUninstallDisk machine{disk};
  ScopedUninstallFiles scopedDisk{disk};
  ScopedRegistry scopedRegistry{registry};
  ScopedMachine scopedMachine{machine};
  std::vector<std::string> log;
};

TEST_F(RunRollback, AFailedUpdateIsUndoneLatestFirstDownToTheEarlierRecordAndEntry) {
  InstallFirst();
  EXPECT_EQ(disk.files[kRecord].find("\r\nbegin\t"), std::string::npos);  // ended: written anew without it
  const auto before = State();
  UninstallSetup setup;
  UpdateHalfWay(setup);
  EXPECT_EQ(EntryText("DisplayVersion"), "1.0");  // the entry's texts change only at the end
  EXPECT_EQ(*registry.Dword(kHklm + std::string("\\") + kSharedDllsPath, kLibrary), 1u);
  disk.calls.clear();
  registry.calls.clear();
  disk.logReplaces = true;
  ASSERT_TRUE(setup.RollBack());

  // The count's claim leaves the record before the count goes; then the
  // shortcut, the key, the value, the library, and the program comes back.
  const std::string newRecord = std::string(kRecord) + ".new -> " + kRecord;
  EXPECT_EQ(disk.calls, (std::vector<std::string>{"replace " + newRecord, std::string("remove ") + kLink,
                                                  std::string("remove ") + kLibrary,
                                                  std::string("replace ") + kAside + " -> " + kProgram,
                                                  std::string("rmdir ") + kAsideFolder, "replace " + newRecord}));
  const std::vector<std::string>& calls = registry.calls;
  const std::string entry = std::string(kHklm) + "\\" + EntryKeyPath("Notatnik");
  EXPECT_LT(At(calls, "SetValue " + entry + " SetuvaneRecordDigest"),
            At(calls, "DeleteValue HKEY_LOCAL_MACHINE\\" + std::string(kSharedDllsPath) + " " + kLibrary));
  EXPECT_LT(At(calls, "DeleteEmptyKey HKEY_LOCAL_MACHINE\\Software\\Firma\\Opcje"),
            At(calls, "SetValue HKEY_LOCAL_MACHINE\\Software\\Firma Wersja"));
  EXPECT_EQ(State(), before);
  EXPECT_TRUE(ReadAuthenticRecord(kRecord).Accepted());
  EXPECT_EQ(EntryText("DisplayVersion"), "1.0");
}

// A first installation undone: its shortcut on a desktop that a link leads
// elsewhere (moved to another drive, a new Wine prefix's) goes while its bytes are
// those written; one changed since stays, as the removal would leave it.
TEST_F(RunRollback, TheRunsShortcutGoesThroughALinkedDesktopOnlyAsWritten) {
  const std::string shortcut = "C:\\Pulpit\\Notatnik.lnk";
  disk.folders.insert("C:\\Pulpit");
  disk.links.insert("C:\\Pulpit");
  for (const bool changed : {false, true}) {
    UninstallSetup setup;
    ASSERT_TRUE(setup.Begin(kFolder, nullptr));
    RecordUninstallItem(PathItem(UninstallItemKind::kShortcut, shortcut));
    disk.files[shortcut] = "lnk";
    RecordUninstallItem(ShortcutSumItem(shortcut, 3, Sha256Hex("lnk")));
    if (changed) disk.files[shortcut] = "the user's";
    ASSERT_TRUE(setup.RollBack());
    EXPECT_EQ(disk.files.count(shortcut), changed ? 1u : 0u) << changed;
    EXPECT_EQ(disk.files.count(kRecord), 0u);
  }
}

// Killed half-way: the next start asks, and undoes the run only on "Tak"; the
// uninstaller undoes it before it removes the rest; a first installation stopped
// is undone whole, its entry too.
TEST_F(RunRollback, AStoppedRunIsUndoneAtTheNextStart) {
  InstallFirst();
  const auto before = State();
  {
    UninstallSetup setup;
    UpdateHalfWay(setup);
  }
  fakes::Dialogs().answer = kResultNo;
  EXPECT_EQ(FinishProductsStoppedRun("Notatnik", true), StoppedRun::kDeclined);
  EXPECT_EQ(disk.files[kProgram], "2.0");
  fakes::Dialogs().answer = kResultYes;
  EXPECT_EQ(FinishProductsStoppedRun("Notatnik", true), StoppedRun::kFinished);
  EXPECT_EQ(State(), before);
  EXPECT_EQ(FinishProductsStoppedRun("Notatnik", true), StoppedRun::kNone);
  EXPECT_EQ(fakes::Dialogs().messages.size(), 2u);
  {
    UninstallSetup setup;
    UpdateHalfWay(setup);
  }
  fakes::FakeWizardView view;
  EXPECT_EQ(RunUninstallation({.view = view, .recordPath = kRecord, .ask = false}), kExitInstalled);
  for (const char* path : {kProgram, kAside, kLibrary, kRecord}) EXPECT_FALSE(disk.files.count(path)) << path;
  EXPECT_EQ(EntryText("DisplayName"), "");

  const auto removed = State();
  ProductId = "Inny";
  {
    UninstallSetup setup;
    ASSERT_TRUE(setup.Begin("C:\\Inny", nullptr));
    RecordUninstallItem(FileItem("C:\\Inny\\inny.exe", 1, 0));
    disk.files["C:\\Inny\\inny.exe"] = "x";
  }
  EXPECT_EQ(FinishProductsStoppedRun("Inny", false), StoppedRun::kFinished);
  EXPECT_EQ(State(), removed);
}

class HeldFiles : public FileHolders {
 public:
  FilesHeld held;
  std::vector<std::string> asked;
  int closed = 0;
  FilesHeld Find(const std::vector<std::string>& paths) override {
    asked = paths;
    return held;
  }
  bool CloseThem() override {
    ++closed;
    return true;
  }
  void RestartClosed() override {}
};

// Asked about the files in folders that exist only; a person tries again, closes
// the programs or stops; unattended, only /CLOSEAPPLICATIONS closes them.
TEST(FilesInUse, APersonChoosesAndAnUnattendedRunClosesOnlyWhenTold) {
  archive::MemoryFileSystem files;
  files.AddFolder("C:");
  files.AddFolder("C:\\Produkt");
  files.AddFile(kProgram, {'1'});
  const std::vector<std::string> targets = {kProgram, "C:\\Produkt\\nowy.dll", "C:\\Nowy\\a.dll"};
  HeldFiles holders;
  holders.held.programs = {{"Notatnik", 12}};
  ScopedFileHolders scoped(holders);
  fakes::Dialogs() = {};
  fakes::Dialogs().answers = {2, 1, 3};
  std::string names;
  EXPECT_TRUE(SettleFilesInUse(targets, files, {.ask = true}, names));
  EXPECT_EQ(holders.asked, (std::vector<std::string>{kProgram, "C:\\Produkt\\nowy.dll"}));
  EXPECT_EQ(names, "Notatnik");
  EXPECT_EQ(holders.closed, 1);
  ASSERT_EQ(fakes::Dialogs().messages.size(), 2u);
  EXPECT_EQ(fakes::Dialogs().messages[0].text,
            "Pliki, które instalacja musi zastąpić, są używane przez programy:\r\nNotatnik\r\n"
            "Pliki, które pozostaną w użyciu, zostaną zastąpione po ponownym uruchomieniu komputera. "
            "[Zamknij programy i kontynuuj] [Ponów] [Przerwij]");
  EXPECT_FALSE(SettleFilesInUse(targets, files, {.ask = true}, names));
  EXPECT_TRUE(SettleFilesInUse(targets, files, {.ask = false}, names));
  EXPECT_EQ(holders.closed, 1);
  EXPECT_TRUE(SettleFilesInUse(targets, files, {.ask = false, .closeApplications = true}, names));
  EXPECT_EQ(holders.closed, 2);
}

// A disk on which one file is held open: it can be neither moved nor replaced.
class DiskHoldingOne : public archive::FileSystem {
 public:
  archive::MemoryFileSystem memory;
  std::string held;
  std::unique_ptr<archive::ReadableFile> OpenRead(const std::string& path) override { return memory.OpenRead(path); }
  std::unique_ptr<archive::WritableFile> CreateNew(const std::string& path) override { return memory.CreateNew(path); }
  bool Replace(const std::string& from, const std::string& to) override {
    return from != held && to != held && memory.Replace(from, to);
  }
  bool Remove(const std::string& path) override { return memory.Remove(path); }
  void MakeFolder(const std::string& path) override { memory.MakeFolder(path); }
  bool FolderExists(const std::string& path) override { return memory.FolderExists(path); }
  bool FileExists(const std::string& path) override { return memory.FileExists(path); }
  std::string Text(const std::string& path) const {
    const auto& data = memory.Files().at(path).data;
    return std::string(data.begin(), data.end());
  }
};

// A plain file goes aside as its replacement is created in its place; one whose
// attributes are not known goes when its replacement is ready; one held open waits
// for the restart, its replacement beside it.
TEST(FilesKeptAside, FilesWrittenOverGoAsideAndOneHeldWaitsForTheRestart) {
  DiskHoldingOne disk;
  disk.memory.AddFolder("C:\\P");
  for (const char* path : {"C:\\P\\a.exe", "C:\\P\\b.dll", "C:\\P\\c.dll"}) disk.memory.AddFile(path, {'o', 'l', 'd'});
  for (const char* path : {"C:\\P\\~sv00001.tmp", "C:\\P\\~sv00002.tmp"}) disk.memory.AddFile(path, {'n', 'e', 'w'});
  fakes::FakeUninstallFiles restarts;
  ScopedUninstallFiles scoped(restarts);
  std::vector<UninstallItem> items;
  SetUninstallRecorder([&](const UninstallItem& item) { items.push_back(item); });
  FilesKeptAside kept(disk);
  kept.Announce("C:\\P\\a.exe", archive::kArchiveAttribute);
  kept.Announce("C:\\P\\b.dll", std::nullopt);
  kept.Announce("C:\\P\\c.dll", std::nullopt);
  ASSERT_EQ(items.size(), 3u);
  const std::string asideFolder = items[0].name.substr(0, items[0].name.rfind('\\'));
  EXPECT_EQ(items[1].name, asideFolder + "\\b.dll");  // one folder of the run, the files' own names
  std::unique_ptr<archive::WritableFile> written = kept.CreateNew("C:\\P\\a.exe");
  ASSERT_TRUE(written);
  EXPECT_EQ(disk.Text(asideFolder + "\\a.exe"), "old");
  EXPECT_TRUE(kept.Replace("C:\\P\\~sv00001.tmp", "C:\\P\\c.dll"));
  EXPECT_EQ(disk.Text("C:\\P\\c.dll"), "new");
  EXPECT_EQ(disk.Text(asideFolder + "\\c.dll"), "old");

  disk.held = "C:\\P\\b.dll";
  EXPECT_TRUE(kept.Replace("C:\\P\\~sv00002.tmp", "C:\\P\\b.dll"));
  SetUninstallRecorder({});
  EXPECT_EQ(disk.Text("C:\\P\\b.dll"), "old");
  ASSERT_EQ(items.size(), 5u);
  const std::string waiting = items[4].name;
  EXPECT_EQ(items[3], FileItem(waiting, 0, 0));
  EXPECT_EQ(items[4], PairItem(UninstallItemKind::kPending, "C:\\P\\b.dll", waiting));
  EXPECT_EQ(disk.Text(waiting), "new");
  EXPECT_EQ(restarts.atRestart, std::vector<std::string>{waiting + " -> C:\\P\\b.dll"});
  EXPECT_TRUE(kept.ReplacedAtRestart());
}

}  // namespace
}  // namespace setuvane
