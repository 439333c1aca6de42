// Extraction to a real disk (natively and, in the Windows build, through the Win32
// file seam under Wine): target paths and options, folders, overwrite questions,
// failures and their cleanup, progress events and time stamps.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#ifdef _WIN32
#include <windows.h>
#endif

#include "archive/exceptions.h"
#include "archive/unzipper.h"
#include "tests/archive/temp_folder.h"
#include "tests/archive/zip_writer.h"

namespace setuvane::archive {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::BuildZip;
using testing::ToBytes;
using testing::WinPath;
using testing::ZipEntryLayout;
using testing::ZipLayout;

struct Failure {
  std::string name;
  TAbErrorClass errorClass;
  int code;
  std::string text;
  bool operator==(const Failure&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Failure& f) {
  return out << f.name << " class " << int(f.errorClass) << " code " << f.code << " (" << f.text << ")";
}

Failure ArchiveFailure(const std::string& name, int code) {
  return {name, TAbErrorClass::ecArchiveError, code, AbMessageText(code)};
}

class ExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    out = temp.Path() / "out";
    fs::create_directories(out);
    zip.OnProcessItemFailure = [this](TAbUnZipper& sender, TAbArchiveItem& item, TAbProcessType type,
                                      TAbErrorClass errorClass, int code) {
      EXPECT_EQ(&sender, &zip);
      EXPECT_EQ(type, TAbProcessType::ptExtract);
      failures.push_back({item.StoredName(), errorClass, code, sender.FailureText()});
    };
  }
  void Open(const ZipLayout& layout, TAbExtractOptions options = eoCreateDirs) {
    testing::WriteFile(temp.Path() / "a.zip", BuildZip(layout).bytes);
    zip.SetExtractOptions(options);
    zip.SetBaseDirectory(WinPath(out));
    zip.OpenZip(WinPath(temp.Path() / "a.zip"));
  }
  std::vector<std::string> Tree() { return testing::ListTree(out); }

  testing::TempFolder temp;
  fs::path out;
  TAbUnZipper zip;
  std::vector<Failure> failures;
};

ZipLayout NestedEntries() {
  ZipLayout layout;
  layout.entries.push_back({.name = "top.txt", .data = ToBytes("top")});
  layout.entries.push_back({.name = "sub/deep/file.txt", .data = ToBytes("deep file"), .method = 8});
  return layout;
}

TEST_F(ExtractTest, DefaultOptionsWriteEveryEntryFlat) {
  Open(NestedEntries());
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, std::vector<Failure>{});
  EXPECT_EQ(Tree(), (std::vector<std::string>{"file.txt", "top.txt"}));
  EXPECT_EQ(testing::ReadFile(out / "file.txt"), "deep file");
}

TEST_F(ExtractTest, RestorePathKeepsFoldersAndMakesThem) {
  Open(NestedEntries(), eoCreateDirs | eoRestorePath);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, std::vector<Failure>{});
  EXPECT_EQ(Tree(), (std::vector<std::string>{"sub", "sub/deep", "sub/deep/file.txt", "top.txt"}));
}

TEST_F(ExtractTest, RestorePathWithoutCreateDirsFailsOnlyThatEntry) {
  Open(NestedEntries(), eoRestorePath);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, std::vector<Failure>{ArchiveFailure("sub/deep/file.txt", AbNoSuchDirectory)});
  EXPECT_EQ(Tree(), std::vector<std::string>{"top.txt"});
}

TEST_F(ExtractTest, EmptyBaseDirectoryWritesIntoTheCurrentFolder) {
  const fs::path previous = fs::current_path();
  fs::current_path(out);
  testing::WriteFile(temp.Path() / "a.zip", BuildZip(NestedEntries()).bytes);
  zip.SetExtractOptions(eoCreateDirs | eoRestorePath);
  zip.OpenZip(WinPath(temp.Path() / "a.zip"));
  zip.ExtractMatching("*.*");
  fs::current_path(previous);
  EXPECT_EQ(failures, std::vector<Failure>{});
  EXPECT_EQ(Tree(), (std::vector<std::string>{"sub", "sub/deep", "sub/deep/file.txt", "top.txt"}));
}

TEST_F(ExtractTest, BaseDirectoryMustExistOnlyWhileAnArchiveIsOpen) {
  const std::string missing = WinPath(temp.Path() / "missing");
  zip.SetBaseDirectory(missing);
  EXPECT_EQ(zip.BaseDirectory(), missing);
  testing::WriteFile(temp.Path() / "a.zip", BuildZip(NestedEntries()).bytes);
  EXPECT_THROW(zip.OpenZip(WinPath(temp.Path() / "a.zip")), EAbNoSuchDirectory);
  EXPECT_EQ(zip.EntryCount(), 0);

  zip.SetBaseDirectory("");
  zip.OpenZip(WinPath(temp.Path() / "a.zip"));
  EXPECT_EQ(zip.EntryCount(), 2);
  EXPECT_THROW(zip.SetBaseDirectory(missing), EAbNoSuchDirectory);
  EXPECT_THROW(zip.SetBaseDirectory(WinPath(temp.Path() / "o?t")), EAbNoSuchDirectory);
  EXPECT_EQ(zip.BaseDirectory(), "");
  zip.SetBaseDirectory(WinPath(out) + "\\");
  EXPECT_EQ(zip.BaseDirectory(), WinPath(out));
}

TEST_F(ExtractTest, MasksSelectByFileNameAndFolder) {
  ZipLayout layout;
  layout.entries.push_back({.name = "readme.txt", .data = ToBytes("1")});
  layout.entries.push_back({.name = "doc/readme.txt", .data = ToBytes("2")});
  layout.entries.push_back({.name = "doc/other.txt", .data = ToBytes("3")});
  Open(layout, eoCreateDirs | eoRestorePath);
  zip.ExtractMatching("doc/readme.txt");
  EXPECT_EQ(Tree(), (std::vector<std::string>{"doc", "doc/readme.txt"}));
  zip.ExtractMatching("readme.txt");
  EXPECT_EQ(Tree(), (std::vector<std::string>{"doc", "doc/readme.txt", "readme.txt"}));
  zip.Entries(2)->Marked = true;
  zip.ExtractMarked();
  EXPECT_EQ(Tree(), (std::vector<std::string>{"doc", "doc/other.txt", "doc/readme.txt", "readme.txt"}));
  EXPECT_EQ(failures, std::vector<Failure>{});
}

TEST_F(ExtractTest, OverwriteCanBeRefusedOrRedirected) {
  ZipLayout layout;
  layout.entries.push_back({.name = "a.txt", .data = ToBytes("new")});
  Open(layout);
  int questions = 0;
  zip.OnConfirmOverwrite = [&](std::string&, bool& confirm) {
    ++questions;
    EXPECT_TRUE(confirm);
  };
  zip.ExtractMatching("*.*");
  EXPECT_EQ(questions, 0);  // no question while the target does not exist

  testing::WriteFile(out / "a.txt", ToBytes("old"));
  zip.OnConfirmOverwrite = [&](std::string& name, bool& confirm) {
    EXPECT_EQ(name, WinPath(out / "a.txt"));
    confirm = false;
  };
  zip.ExtractMatching("*.*");
  EXPECT_EQ(testing::ReadFile(out / "a.txt"), "old");

  zip.OnConfirmOverwrite = [&](std::string& name, bool&) { name = WinPath(out / "b.txt"); };
  zip.ExtractMatching("*.*");
  EXPECT_EQ(testing::ReadFile(out / "a.txt"), "old");
  EXPECT_EQ(testing::ReadFile(out / "b.txt"), "new");

  zip.OnConfirmOverwrite = nullptr;
  zip.ExtractMatching("*.*");
  EXPECT_EQ(testing::ReadFile(out / "a.txt"), "new");
  EXPECT_EQ(failures, std::vector<Failure>{});
}

TEST_F(ExtractTest, FailedEntryKeepsTheFileItWouldReplaceAndLeavesNothing) {
  ZipLayout layout;
  layout.entries.push_back({.name = "a.txt", .data = ToBytes("altered"), .crc = 1234});
  layout.entries.push_back({.name = "b.txt", .data = ToBytes("fine")});
  Open(layout);
  testing::WriteFile(out / "a.txt", ToBytes("the old settings"));
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, std::vector<Failure>{ArchiveFailure("a.txt", AbZipBadCRC)});
  EXPECT_EQ(testing::ReadFile(out / "a.txt"), "the old settings");
  EXPECT_EQ(Tree(), (std::vector<std::string>{"a.txt", "b.txt"}));
}

// A process that ends inside an entry leaves its temporary file; the next
// extraction into that folder removes every file named as ours, and only those.
TEST_F(ExtractTest, StaleTemporaryFilesOfOursGoWhenTheFolderIsNextWritten) {
  for (const char* name : {"~sv00042.tmp", "~SV12345.TMP", "~sv1.tmp", "~svabcde.tmp", "~sv00042.tmp.txt",
                           "x~sv00001.tmp", "sub/~sv00007.tmp"}) {
    fs::create_directories((out / name).parent_path());
    testing::WriteFile(out / name, ToBytes("partial"));
  }
  ZipLayout layout;
  layout.entries.push_back({.name = "~sv00099.tmp", .data = ToBytes("an entry named so")});
  layout.entries.push_back({.name = "a.txt", .data = ToBytes("new")});
  Open(layout);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(Tree(), (std::vector<std::string>{"a.txt", "sub", "sub/~sv00007.tmp", "x~sv00001.tmp", "~sv00042.tmp.txt",
                                              "~sv00099.tmp", "~sv1.tmp", "~svabcde.tmp"}));
  EXPECT_EQ(testing::ReadFile(out / "~sv00099.tmp"), "an entry named so");
}

// A read-only target fails its entry as creating over it would (a file-create
// error, before anything is decoded) and stays; a file that is replaced keeps its
// other attributes.
TEST_F(ExtractTest, ReadOnlyTargetFailsAndStaysOthersKeepTheirAttributes) {
  ZipLayout layout;
  layout.entries.push_back({.name = "ro.txt", .data = ToBytes("new")});
  layout.entries.push_back({.name = "hidden.txt", .data = ToBytes("new")});
  Open(layout);
  testing::WriteFile(out / "ro.txt", ToBytes("old"));
  testing::WriteFile(out / "hidden.txt", ToBytes("old"));
  const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(out / "ro.txt", writable, fs::perm_options::remove);
#ifdef _WIN32
  ASSERT_TRUE(SetFileAttributesA(WinPath(out / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
#endif
  zip.ExtractMatching("*.*");
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].name, "ro.txt");
  EXPECT_EQ(failures[0].errorClass, TAbErrorClass::ecFileCreateError);
  EXPECT_EQ(testing::ReadFile(out / "ro.txt"), "old");
  EXPECT_EQ(testing::ReadFile(out / "hidden.txt"), "new");
#ifdef _WIN32
  EXPECT_EQ(GetFileAttributesA(WinPath(out / "hidden.txt").c_str()), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
#endif
  EXPECT_EQ(Tree(), (std::vector<std::string>{"hidden.txt", "ro.txt"}));
  fs::permissions(out / "ro.txt", writable, fs::perm_options::add);
}

TEST_F(ExtractTest, UnsupportedMethodsAndVersionsFailTheirEntries) {
  ZipLayout layout;
  layout.entries.push_back({.name = "m9.bin", .data = ToBytes("x"), .method = 9});
  layout.entries.push_back({.name = "m7.bin", .data = ToBytes("x"), .method = 7});
  layout.entries.push_back({.name = "v45.bin", .data = ToBytes("x"), .versionNeeded = 45});
  layout.entries.push_back({.name = "v20.bin", .data = ToBytes("x"), .versionNeeded = 0x0314});  // high byte: host
  Open(layout);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, (std::vector<Failure>{ArchiveFailure("m9.bin", AbZipInvalidMethod),
                                            ArchiveFailure("m7.bin", AbZipInvalidMethod),
                                            ArchiveFailure("v45.bin", AbZipVersionError)}));
  EXPECT_EQ(Tree(), std::vector<std::string>{"v20.bin"});
}

TEST_F(ExtractTest, DeflatedOutputNeverExceedsTheDeclaredSize) {
  ZipLayout layout;
  layout.entries.push_back({.name = "bomb.bin", .data = Bytes(300000, 'z'), .method = 8, .uncompressedSize = 1000});
  layout.entries.push_back({.name = "short.bin", .data = Bytes(300000, 'z'), .uncompressedSize = 1000});
  Open(layout);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, (std::vector<Failure>{ArchiveFailure("bomb.bin", AbZipBadCRC),
                                            ArchiveFailure("short.bin", AbZipBadCRC)}));
  EXPECT_EQ(Tree(), std::vector<std::string>{});
}

// An entry whose data would run past the end of the file also runs into the
// central directory: the archive is refused before anything is written.
TEST_F(ExtractTest, StoredEntryWhoseFileEndsEarlyIsRefused) {
  ZipLayout layout;
  layout.entries.push_back(
      {.name = "cut.bin", .data = Bytes(5000, 'c'), .compressedSize = 0x7FFFFF00, .uncompressedSize = 0x7FFFFF00});
  EXPECT_THROW(Open(layout), EAbZipOverlap);
  EXPECT_THROW(zip.ExtractMatching("*.*"), EAbNoArchive);
  EXPECT_EQ(Tree(), std::vector<std::string>{});
}

TEST_F(ExtractTest, EntriesBeyondThe32BitModelFail) {
  ZipLayout layout;
  layout.entries.push_back({.name = "z64.bin", .data = ToBytes("x"), .compressedSize = 0xFFFFFFFF,
                          .uncompressedSize = 0xFFFFFFFF});
  layout.entries.push_back({.name = "far.bin", .data = ToBytes("x"), .localOffset = 0x80000000});
  Open(layout);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, (std::vector<Failure>{ArchiveFailure("z64.bin", AbZipTooLarge),
                                            ArchiveFailure("far.bin", AbZipTooLarge)}));
}

TEST_F(ExtractTest, StoredPathsNeverLeadOutOfTheBaseDirectory) {
  ZipLayout layout;
  for (const char* name : {"../evil.txt", "/abs.txt", "\\abs2.txt", "C:/drive.txt", "a/../../evil2.txt",
                           "sub/..", "ok/fine.txt"}) {
    layout.entries.push_back({.name = name, .data = ToBytes("x")});
  }
  Open(layout, eoCreateDirs | eoRestorePath);
  zip.ExtractMatching("*.*");
  std::vector<Failure> expected;
  for (const char* name : {"../evil.txt", "/abs.txt", "\\abs2.txt", "C:/drive.txt", "a/../../evil2.txt", "sub/.."}) {
    expected.push_back(ArchiveFailure(name, AbZipUnsafePath));
  }
  EXPECT_EQ(failures, expected);
  EXPECT_EQ(testing::ListTree(temp.Path()), (std::vector<std::string>{"a.zip", "out", "out/ok", "out/ok/fine.txt"}));

  // Without restored paths only the file-name part is used, which stays inside.
  failures.clear();
  zip.SetExtractOptions(eoCreateDirs);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, std::vector<Failure>{ArchiveFailure("sub/..", AbZipUnsafePath)});
  EXPECT_EQ(Tree(), (std::vector<std::string>{"abs.txt", "abs2.txt", "drive.txt", "evil.txt", "evil2.txt",
                                              "fine.txt", "ok", "ok/fine.txt"}));
}

// Names that would open a device, write an alternate stream, land on another drive
// or lose their final dot fail alone, with the part named, before any file is
// touched; a test of the archive finds them as well.
TEST_F(ExtractTest, NamesWindowsCannotHoldFailAloneInExtractAndTest) {
  ZipLayout layout;
  for (const char* name : {"a.txt:x", "C:x", "nul", "NUL.txt", "Com1", "dir/lpt9.log", "Aux .tar.gz", "dot.",
                           "blank ", "q?.txt", "con/fine.txt", "com0", "console.txt", "nul_x"}) {
    layout.entries.push_back({.name = name, .data = ToBytes("x")});
  }
  Open(layout);
  zip.ExtractMatching("*.*");
  std::vector<std::string> failed, texts;
  for (const Failure& f : failures) {
    EXPECT_EQ(f.code, AbZipBadName) << f;
    failed.push_back(f.name);
    texts.push_back(f.text);
  }
  const std::vector<std::string> bad = {"a.txt:x", "C:x", "nul", "NUL.txt", "Com1", "dir/lpt9.log", "Aux .tar.gz",
                                        "dot.", "blank ", "q?.txt"};
  EXPECT_EQ(failed, bad);
  EXPECT_EQ(texts[2], "Cannot extract file - \"nul\" is a device name on Windows (CON, PRN, AUX, NUL, COM1 to COM9, "
                      "LPT1 to LPT9)");
  EXPECT_EQ(texts[0], "Cannot extract file - \"a.txt:x\" has a character that Windows does not allow in names "
                      "(< > : \" | ? * or a control character)");
  EXPECT_EQ(texts[7], "Cannot extract file - \"dot.\" ends in a dot or a blank, which Windows drops from names");
  EXPECT_EQ(Tree(), (std::vector<std::string>{"com0", "console.txt", "fine.txt", "nul_x"}));

  // Restored paths: folder parts count too.
  failures.clear();
  fs::remove_all(out);
  fs::create_directories(out);
  zip.SetExtractOptions(eoCreateDirs | eoRestorePath);
  zip.ExtractMatching("con/*");
  EXPECT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures.at(0).text, "Cannot extract file - \"con\" is a device name on Windows (CON, PRN, AUX, NUL, "
                                 "COM1 to COM9, LPT1 to LPT9)");

  failed.clear();
  zip.OnProcessItemFailure = [&](TAbUnZipper&, TAbArchiveItem& item, TAbProcessType, TAbErrorClass, int code) {
    if (code == AbZipBadName) failed.push_back(item.StoredName());
  };
  zip.SetExtractOptions(eoCreateDirs);
  zip.TestMatching("*.*");
  EXPECT_EQ(failed, bad);
  EXPECT_EQ(Tree(), std::vector<std::string>{});
}

TEST_F(ExtractTest, FolderEntriesMakeTheirFolders) {
  ZipLayout layout;
  layout.entries.push_back({.name = "empty/"});
  layout.entries.push_back({.name = "empty/inner/"});
  Open(layout, eoCreateDirs | eoRestorePath);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, std::vector<Failure>{});
  EXPECT_EQ(Tree(), (std::vector<std::string>{"empty", "empty/inner"}));
}

TEST_F(ExtractTest, ProgressIsReportedOnlyWhenThePercentageChanges) {
  ZipLayout layout;
  layout.entries.push_back({.name = "stored.bin", .data = Bytes(40960, 's')});
  layout.entries.push_back({.name = "deflated.bin", .data = Bytes(100000, 'd'), .method = 8});
  layout.entries.push_back({.name = "empty.bin"});
  Open(layout);
  std::vector<std::pair<std::string, int>> items;
  std::vector<int> archive;
  zip.OnArchiveItemProgress = [&](TAbUnZipper&, TAbArchiveItem& item, uint8_t p, bool& abort) {
    EXPECT_FALSE(abort);
    items.emplace_back(item.StoredName(), p);
  };
  zip.OnArchiveProgress = [&](TAbUnZipper&, uint8_t p, bool&) { archive.push_back(p); };
  zip.ExtractMatching("*.*");
  std::vector<std::pair<std::string, int>> expected;
  for (int p = 10; p <= 100; p += 10) expected.emplace_back("stored.bin", p);  // per 4 KiB read
  for (int p : {32, 65, 98, 100}) expected.emplace_back("deflated.bin", p);  // per 32 KiB written
  EXPECT_EQ(items, expected);
  EXPECT_EQ(archive, (std::vector<int>{33, 66, 100, 100}));
  EXPECT_EQ(testing::ReadFile(out / "empty.bin"), "");
  EXPECT_EQ(failures, std::vector<Failure>{});
}

TEST_F(ExtractTest, AbortInsideAnEntryRemovesItAndStopsAtTheNextEntry) {
  ZipLayout layout;
  layout.entries.push_back({.name = "one.bin", .data = Bytes(50000, '1')});
  layout.entries.push_back({.name = "two.bin", .data = Bytes(50000, '2')});
  Open(layout);
  zip.OnArchiveItemProgress = [&](TAbUnZipper&, TAbArchiveItem&, uint8_t p, bool& abort) { abort = p > 50; };
  EXPECT_THROW(zip.ExtractMatching("*.*"), EAbNoArchive);
  EXPECT_EQ(failures, std::vector<Failure>{ArchiveFailure("one.bin", AbUserAbort)});
  EXPECT_EQ(Tree(), std::vector<std::string>{});
  EXPECT_EQ(zip.Archive()->Status(), TAbArchiveStatus::asInvalid);
}

TEST_F(ExtractTest, AbortThroughArchiveProgressReachesTheCaller) {
  Open(NestedEntries());
  zip.OnArchiveProgress = [&](TAbUnZipper&, uint8_t, bool& abort) { abort = true; };
  EXPECT_THROW(zip.ExtractMatching("*.*"), EAbUserAbort);
  EXPECT_EQ(Tree(), std::vector<std::string>{"top.txt"});
  zip.OnArchiveProgress = nullptr;
  EXPECT_THROW(zip.ExtractMatching("*.*"), EAbNoArchive);
  zip.OpenZip(zip.FileName());  // opening again makes a usable archive
  EXPECT_NO_THROW(zip.ExtractMatching("*.*"));
}

TEST_F(ExtractTest, ConfirmProcessItemCanSkipAnEntry) {
  Open(NestedEntries());
  zip.OnConfirmProcessItem = [](TAbUnZipper&, TAbArchiveItem& item, TAbProcessType type, bool& confirm) {
    EXPECT_EQ(static_cast<int>(type), 2);
    EXPECT_TRUE(confirm);
    confirm = item.StoredName() != "top.txt";
  };
  zip.ExtractMatching("*.*");
  EXPECT_EQ(Tree(), std::vector<std::string>{"file.txt"});
}

// Stored names are Windows-1250 text: the unzipper hands the file seam the path in
// UTF-8, which the native seam writes as it is and Windows takes through the W calls.
TEST_F(ExtractTest, PolishNamesReachTheDiskReadable) {
  ZipLayout layout;
  layout.entries.push_back({.name = "\xBF\xF3\xB3ty/za\xBF\xF3\xB3\xE6.txt", .data = ToBytes("pl")});
  Open(layout, eoCreateDirs | eoRestorePath);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, std::vector<Failure>{});
  EXPECT_EQ(testing::ReadFile(out / fs::path(u8"żółty") / fs::path(u8"zażółć.txt")), "pl");
}

// Names flagged as UTF-8 (bit 11) are taken into Windows-1250 for matching and the
// disk; one with a character Windows-1250 lacks fails alone; unflagged names stay.
TEST_F(ExtractTest, Utf8FlaggedNamesAreConvertedAndUnconvertibleOnesFailAlone) {
  ZipLayout layout;
  layout.entries.push_back({.name = "\xC5\xBC\xC3\xB3\xC5\x82ty/za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87.txt",
                            .data = ToBytes("utf8"), .extraFlags = 0x0800});
  layout.entries.push_back({.name = "\xE6\x97\xA5\xE6\x9C\xAC.txt", .data = ToBytes("ja"), .extraFlags = 0x0800});
  layout.entries.push_back({.name = "\xC5\xBC.txt", .data = ToBytes("cp1250")});  // no flag: two Windows-1250 letters
  Open(layout, eoCreateDirs | eoRestorePath);
  EXPECT_EQ(zip.Entries(0)->StoredName(), "\xBF\xF3\xB3ty/za\xBF\xF3\xB3\xE6.txt");
  EXPECT_EQ(zip.Entries(1)->StoredName(), "__.txt");
  EXPECT_EQ(zip.Entries(2)->StoredName(), "\xC5\xBC.txt");
  zip.ExtractMatching("za\xBF\xF3\xB3\xE6.txt");
  zip.ExtractMatching("*.txt");
  EXPECT_EQ(failures, (std::vector<Failure>{ArchiveFailure("__.txt", AbZipNameNotCp1250)}));
  EXPECT_EQ(testing::ReadFile(out / fs::path(u8"żółty") / fs::path(u8"zażółć.txt")), "utf8");
  EXPECT_EQ(testing::ReadFile(out / fs::path(u8"ĹĽ.txt")), "cp1250");
  EXPECT_EQ(Tree().size(), 3u);
}

TEST_F(ExtractTest, FileTimeIsTheEntryTimeInLocalTime) {
  ZipLayout layout;
  // 2019-06-15 13:45:30: date = (39 << 9) | (6 << 5) | 15, time = (13 << 11) | (45 << 5) | 15.
  layout.entries.push_back({.name = "t.txt", .data = ToBytes("t"), .dosTime = (13 << 11) | (45 << 5) | 15,
                          .dosDate = (39 << 9) | (6 << 5) | 15});
  Open(layout);
  zip.ExtractMatching("*.*");
  std::tm local{};
  local.tm_year = 119;
  local.tm_mon = 5;
  local.tm_mday = 15;
  local.tm_hour = 13;
  local.tm_min = 45;
  local.tm_sec = 30;
  local.tm_isdst = -1;
  const auto written = std::chrono::file_clock::to_sys(fs::last_write_time(out / "t.txt"));
  EXPECT_EQ(std::chrono::system_clock::to_time_t(
                std::chrono::time_point_cast<std::chrono::system_clock::duration>(written)),
            std::mktime(&local));
}

}  // namespace
}  // namespace setuvane::archive
