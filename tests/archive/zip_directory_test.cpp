// Loading the central directory: the end-record search, the entries it yields, and
// the damaged and oversized archives it must refuse cleanly.
#include <gtest/gtest.h>

#include <cstring>

#include "archive/exceptions.h"
#include "archive/memory_file_system.h"
#include "archive/runtime_errors.h"
#include "archive/unzipper.h"
#include "tests/archive/zip_writer.h"

namespace setuvane::archive {
namespace {

using testing::Bytes;
using testing::BuildZip;
using testing::ToBytes;
using testing::ZipEntryLayout;
using testing::ZipLayout;

ZipLayout TwoEntries() {
  ZipLayout layout;
  layout.entries.push_back({.name = "readme.txt", .data = ToBytes("hello")});
  layout.entries.push_back({.name = "doc/readme.txt", .data = ToBytes("world"), .centralExtra = "<programfolder>"});
  return layout;
}

class DirectoryTest : public ::testing::Test {
 protected:
  // Opens `bytes` as "a.zip"; returns the message of a failure, "" on success.
  std::string Open(const Bytes& bytes) {
    files.AddFile("a.zip", bytes);
    try {
      zip.OpenZip("a.zip");
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
  MemoryFileSystem files;
  TAbUnZipper zip{files};
};

TEST_F(DirectoryTest, LoadsNamesSizesAndDestinationTexts) {
  int loads = 0, changes = 0;
  zip.OnLoad = [&](TAbUnZipper&) { ++loads; };
  zip.OnChange = [&](TAbUnZipper&) { ++changes; };
  ASSERT_EQ(Open(BuildZip(TwoEntries()).bytes), "");
  ASSERT_EQ(zip.EntryCount(), 2);
  EXPECT_EQ(zip.Entries(0)->StoredName(), "readme.txt");
  EXPECT_EQ(zip.Entries(0)->ExtraText(), "");
  EXPECT_EQ(zip.Entries(1)->StoredName(), "doc/readme.txt");
  EXPECT_EQ(zip.Entries(1)->DiskName(), "doc\\readme.txt");
  EXPECT_EQ(zip.Entries(1)->ExtraText(), "<programfolder>");
  EXPECT_EQ(zip.Entries(1)->UncompressedSize(), 5u);
  EXPECT_FALSE(zip.Entries(1)->Marked);
  EXPECT_EQ(zip.Archive()->Status(), TAbArchiveStatus::asIdle);
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(zip.Entries(2), EListError);
  EXPECT_EQ(zip.Archive()->ItemList().Find("DOC/README.TXT"), zip.Entries(1));
  EXPECT_EQ(zip.Archive()->ItemList().Find("missing"), nullptr);
}

// A package inside a program: bytes before it, and after it a signature that ends
// like an archive of its own. Only the part is the archive, and entries extract
// from it with their own offsets.
TEST_F(DirectoryTest, APartOfAFileIsReadAsTheWholeArchive) {
  const Bytes archive = BuildZip(TwoEntries()).bytes;
  Bytes file(1000, 'M');
  file.insert(file.end(), archive.begin(), archive.end());
  const Bytes trailer = ToBytes("PK\x05\x06 signature bytes");
  file.insert(file.end(), trailer.begin(), trailer.end());
  files.AddFile("setup.exe", file);
  files.AddFolder("out");
  zip.OpenZip("setup.exe", FilePart{1000, int64_t(archive.size())});
  ASSERT_EQ(zip.EntryCount(), 2);
  EXPECT_EQ(zip.Entries(1)->StoredName(), "doc/readme.txt");
  zip.SetBaseDirectory("out");
  zip.ExtractMatching("doc/readme.txt");
  EXPECT_EQ(files.Files().at("out\\readme.txt").data, ToBytes("world"));
  // Decoding ahead opens the same part again for its own thread.
  zip.SetDecodeAhead(true);
  files.AddFolder("ahead");
  zip.SetBaseDirectory("ahead");
  zip.ExtractMatching("*");
  EXPECT_EQ(files.Files().at("ahead\\readme.txt").data, ToBytes("world"));
  // Cut short, the part holds no end record.
  EXPECT_THROW(zip.OpenZip("setup.exe", FilePart{1000, int64_t(archive.size()) - 30}), EAbZipInvalid);
}

TEST_F(DirectoryTest, ExtraTextCanBeReplacedAndRemovedInMemory) {
  ASSERT_EQ(Open(BuildZip(TwoEntries()).bytes), "");
  TAbZipItem& item = *zip.Entries(1);
  item.SetExtraText("C:\\Program Files\\X\\");
  EXPECT_EQ(item.ExtraText(), "C:\\Program Files\\X\\");
  EXPECT_EQ(item.Header().ExtraFieldLength, 19);
  item.SetExtraText("");
  EXPECT_EQ(item.ExtraText(), "");
  EXPECT_EQ(item.Header().ExtraFieldLength, 0);
}

TEST_F(DirectoryTest, NameIsCutAtItsFirstNul) {
  ZipLayout layout;
  layout.entries.push_back({.name = std::string("a/b.txt\0junk", 12), .data = ToBytes("x")});
  ASSERT_EQ(Open(BuildZip(layout).bytes), "");
  EXPECT_EQ(zip.Entries(0)->StoredName(), "a/b.txt");
  EXPECT_EQ(zip.Entries(0)->DiskName(), "a\\b.txt");
}

TEST_F(DirectoryTest, EmptyFileHasNoEntriesAndMissingFileOpensNothing) {
  EXPECT_EQ(Open({}), "");
  EXPECT_EQ(zip.EntryCount(), 0);
  ASSERT_NE(zip.Archive(), nullptr);
  zip.OpenZip("no such.zip");
  EXPECT_EQ(zip.Archive(), nullptr);
  EXPECT_EQ(zip.EntryCount(), 0);
  EXPECT_EQ(zip.Entries(0), nullptr);
  try {
    zip.ExtractMarked();
    FAIL();
  } catch (const EAbNoArchive& e) {
    EXPECT_STREQ(e.what(), "Archive does not exist - FileName is blank");
  }
}

TEST_F(DirectoryTest, EndRecordIsFoundBehindCommentsUpTo2022Bytes) {
  ZipLayout layout = TwoEntries();
  layout.comment = std::string(2022, 'c');
  EXPECT_EQ(Open(BuildZip(layout).bytes), "");
  EXPECT_EQ(zip.EntryCount(), 2);

  MemoryFileSystem files2;
  TAbUnZipper zip2(files2);
  layout.comment = std::string(2023, 'c');
  files2.AddFile("b.zip", BuildZip(layout).bytes);
  try {
    zip2.OpenZip("b.zip");
    FAIL();
  } catch (const EAbZipInvalid& e) {
    EXPECT_STREQ(e.what(), "Invalid file - not a PKZip file");
  }
  EXPECT_EQ(zip2.EntryCount(), 0);
  EXPECT_EQ(zip2.Archive()->Status(), TAbArchiveStatus::asIdle);
}

TEST_F(DirectoryTest, ShortFilesWithoutEndRecordAreRefused) {
  for (const Bytes& bytes : {ToBytes("PK"), ToBytes("not a zip at all"), Bytes(5000, 'x')}) {
    MemoryFileSystem files2;
    TAbUnZipper zip2(files2);
    files2.AddFile("x.zip", bytes);
    EXPECT_THROW(zip2.OpenZip("x.zip"), EAbZipInvalid) << bytes.size();
  }
}

// With a 34-byte comment that begins with a second signature, the real record and
// the decoy both lie in the second window searched (32 bytes, 56 before the end) and
// none in the first: the earlier one, the real record, is taken.
TEST_F(DirectoryTest, EarlierOfTwoSignaturesInOneWindowWins) {
  ZipLayout layout = TwoEntries();
  layout.comment = "PK\x05\x06" + std::string(30, ' ');
  ASSERT_EQ(Open(BuildZip(layout).bytes), "");
  EXPECT_EQ(zip.EntryCount(), 2);
}

TEST_F(DirectoryTest, EntryCountOfEndRecordIsOnlyAProgressDivisor) {
  ZipLayout layout = TwoEntries();
  layout.totalEntries = 0;
  std::vector<int> progress;
  zip.OnArchiveProgress = [&](TAbUnZipper&, uint8_t p, bool&) { progress.push_back(p); };
  ASSERT_EQ(Open(BuildZip(layout).bytes), "");
  EXPECT_EQ(zip.EntryCount(), 2);
  EXPECT_EQ(progress, (std::vector<int>{100, 100, 100}));
}

TEST_F(DirectoryTest, DamagedDirectoryKeepsTheEntriesReadBeforeIt) {
  testing::BuiltZip built = BuildZip(TwoEntries());
  Bytes bytes = built.bytes;
  const uint32_t second = built.directoryOffset + 46 + 10;  // first header + "readme.txt"
  bytes[second] = 'X';
  EXPECT_EQ(Open(bytes), "Invalid file - not a PKZip file");
  EXPECT_EQ(zip.EntryCount(), 1);
  EXPECT_EQ(zip.Archive()->Status(), TAbArchiveStatus::asIdle);
}

TEST_F(DirectoryTest, LyingDirectoryOffsetsAreRefused) {
  testing::BuiltZip built = BuildZip(TwoEntries());
  for (const uint32_t offset : {built.endRecordOffset + 1, built.directoryOffset + 1, 0u}) {
    Bytes bytes = built.bytes;
    std::memcpy(&bytes[built.endRecordOffset + 16], &offset, 4);
    MemoryFileSystem files2;
    TAbUnZipper zip2(files2);
    files2.AddFile("b.zip", bytes);
    EXPECT_THROW(zip2.OpenZip("b.zip"), EAbZipInvalid) << offset;
  }
  // A header whose name length runs past the end of the file.
  Bytes bytes = built.bytes;
  bytes[built.directoryOffset + 28] = 0xFF;
  bytes[built.directoryOffset + 29] = 0xFF;
  EXPECT_EQ(Open(bytes), "Stream read error");
}

TEST_F(DirectoryTest, NeitherPKNorMZAtTheStartStillLoads) {
  ZipLayout layout = TwoEntries();
  layout.prefix = ToBytes("#!junk");
  ASSERT_EQ(Open(BuildZip(layout).bytes), "");
  EXPECT_EQ(zip.EntryCount(), 2);
  EXPECT_TRUE(zip.Archive()->IsSpanned());
  EXPECT_FALSE(zip.Archive()->IsExecutable());
}

TEST_F(DirectoryTest, ExecutableStubSizeIsTheFirstLocalHeader) {
  ZipLayout layout = TwoEntries();
  layout.prefix = ToBytes("MZ stub.");
  ASSERT_EQ(Open(BuildZip(layout).bytes), "");
  EXPECT_TRUE(zip.Archive()->IsExecutable());
  EXPECT_EQ(zip.Archive()->StubSize(), 8);
}

TEST_F(DirectoryTest, AbortWhileLoadingMakesTheArchiveInvalid) {
  zip.OnArchiveProgress = [](TAbUnZipper&, uint8_t, bool& abort) { abort = true; };
  EXPECT_EQ(Open(BuildZip(TwoEntries()).bytes), "Process aborted by user");
  EXPECT_EQ(zip.Archive()->Status(), TAbArchiveStatus::asInvalid);
  EXPECT_THROW(zip.ExtractMatching("*.*"), EAbNoArchive);
}

TEST_F(DirectoryTest, Zip64MarkersAreRefused) {
  ZipLayout layout = TwoEntries();
  layout.totalEntries = 0xFFFF;
  EXPECT_EQ(Open(BuildZip(layout).bytes),
            "Cannot read file - archives and entries of 2 GiB or more (Zip64) are not supported");

  // A Zip64 end-record locator right before the classic end record.
  testing::BuiltZip built = BuildZip(TwoEntries());
  Bytes bytes(built.bytes.begin(), built.bytes.begin() + built.endRecordOffset);
  const uint8_t locator[20] = {0x50, 0x4B, 0x06, 0x07};
  bytes.insert(bytes.end(), locator, locator + 20);
  bytes.insert(bytes.end(), built.bytes.begin() + built.endRecordOffset, built.bytes.end());
  MemoryFileSystem files2;
  TAbUnZipper zip2(files2);
  files2.AddFile("b.zip", bytes);
  EXPECT_THROW(zip2.OpenZip("b.zip"), EAbZipTooLarge);
}

// The overlapping-entry bomb: many central records sharing one compressed stream.
// Refused while loading, and nothing of the listed entries can be extracted.
TEST_F(DirectoryTest, EntriesSharingLocalDataAreRefused) {
  ZipLayout layout;
  for (const char* name : {"a.bin", "b.bin", "c.bin"}) {
    layout.entries.push_back({.name = name, .data = Bytes(1000, 'x'), .method = 8, .localOffset = 0});
  }
  EXPECT_EQ(Open(BuildZip(layout).bytes), "Invalid file - the data of two entries overlap");
  EXPECT_EQ(zip.Archive()->Status(), TAbArchiveStatus::asInvalid);
  EXPECT_THROW(zip.ExtractMatching("*.*"), EAbNoArchive);

  // A compressed size that reaches into the next local header, or into the
  // central directory for the last entry.
  for (const size_t lying : {size_t(0), size_t(1)}) {
    ZipLayout sizes = TwoEntries();
    sizes.entries[lying].compressedSize = 5 + 30;
    MemoryFileSystem otherFiles;
    TAbUnZipper other(otherFiles);
    otherFiles.AddFile("b.zip", BuildZip(sizes).bytes);
    EXPECT_THROW(other.OpenZip("b.zip"), EAbZipOverlap) << lying;
  }
}

// Local names and extra fields are read only at extraction: a local header whose
// name runs longer than the central one moves its data into the next entry, which
// fails that entry alone. A sound archive with long local extra fields loses nothing.
TEST_F(DirectoryTest, LocalRecordRunningIntoTheNextFailsItsEntry) {
  ZipLayout layout = TwoEntries();
  layout.entries[0].localExtra = std::string(40, 'e');
  ASSERT_EQ(Open(BuildZip(layout).bytes), "");
  std::vector<int> failed;
  zip.OnProcessItemFailure = [&](TAbUnZipper&, TAbArchiveItem&, TAbProcessType, TAbErrorClass, int code) {
    failed.push_back(code);
  };
  zip.TestMatching("*.*");
  EXPECT_EQ(failed, std::vector<int>{});

  // Three bytes more in the central size still pass the bound checked while loading
  // (30 + 8 bytes within the 85 up to the next header), but read after the local
  // name and extra field the data would end 3 bytes inside the next local header.
  layout.entries[0].compressedSize = 5 + 3;
  MemoryFileSystem otherFiles;
  TAbUnZipper other(otherFiles);
  otherFiles.AddFile("b.zip", BuildZip(layout).bytes);
  other.OnProcessItemFailure = zip.OnProcessItemFailure;
  other.OpenZip("b.zip");
  other.TestMatching("*.*");
  EXPECT_EQ(failed, std::vector<int>{AbZipOverlap});
}

// A file system whose one archive claims 2 GiB: refused before anything is read.
class HugeFileSystem final : public FileSystem {
  class Huge final : public ReadableFile {
   public:
    int64_t Size() const override { return int64_t(1) << 31; }
    size_t ReadAt(int64_t, uint8_t* buffer, size_t length) override {
      std::memset(buffer, 0, length);
      return length;
    }
  };

 public:
  std::unique_ptr<ReadableFile> OpenRead(const std::string&) override { return std::make_unique<Huge>(); }
  std::unique_ptr<WritableFile> CreateNew(const std::string&) override { return nullptr; }
  bool Replace(const std::string&, const std::string&) override { return false; }
  bool Remove(const std::string&) override { return false; }
  void MakeFolder(const std::string&) override {}
  bool FolderExists(const std::string&) override { return true; }
  bool FileExists(const std::string&) override { return true; }
};

TEST(LargeArchiveTest, ArchivesOf2GiBAreRefused) {
  HugeFileSystem files;
  TAbUnZipper zip(files);
  EXPECT_THROW(zip.OpenZip("big.zip"), EAbZipTooLarge);
  EXPECT_EQ(zip.EntryCount(), 0);
}

TEST(ArchiveListTest, BucketsFollowTheElfHashOfUpperCasedNames) {
  // h("A") = 65; "AB" = 65*16+66 = 1106 -> 1106 mod 1021 = 85; case is ignored.
  EXPECT_EQ(TAbArchiveList::Bucket("a"), 65u);
  EXPECT_EQ(TAbArchiveList::Bucket("ab"), 85u);
  EXPECT_EQ(TAbArchiveList::Bucket("Ab"), TAbArchiveList::Bucket("aB"));
  // Long names fold their high nibble back in instead of overflowing.
  EXPECT_LT(TAbArchiveList::Bucket(std::string(300, 'z')), TAbArchiveList::kBuckets);
  EXPECT_EQ(AnsiUpperCase("za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1"),
            "ZA\xAF\xD3\xA3\xC6 G\xCA\x8CL\xA5 JA\x8F\xD1");  // zażółć gęślą jaźń
}

}  // namespace
}  // namespace setuvane::archive
