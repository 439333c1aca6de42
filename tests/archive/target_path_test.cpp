// Target paths of entries and the making of their folders, on a file system in memory.
#include <gtest/gtest.h>

#include "archive/exceptions.h"
#include "archive/memory_file_system.h"
#include "archive/runtime_errors.h"
#include "archive/target_path.h"
#include "archive/unzipper.h"
#include "tests/archive/zip_writer.h"

namespace setuvane::archive {
namespace {

TEST(TargetPathTest, BaseDirectoryAndNameParts) {
  EXPECT_EQ(TargetPath("C:\\out", "sub/file.txt", false), "C:\\out\\file.txt");
  EXPECT_EQ(TargetPath("C:\\out", "sub/file.txt", true), "C:\\out\\sub\\file.txt");
  EXPECT_EQ(TargetPath("", "sub/file.txt", true), "sub\\file.txt");
  EXPECT_EQ(TargetPath("", "..x/y..z", true), "..x\\y..z");  // dots inside names are fine
}

TEST(StoredNameTest, UnsafePathsAndNamesWindowsCannotHold) {
  EXPECT_THROW(CheckStoredName("a/../../b", true), EAbZipUnsafePath);
  EXPECT_THROW(CheckStoredName("D:evil", true), EAbZipUnsafePath);
  EXPECT_THROW(CheckStoredName("\\\\server\\share\\x", true), EAbZipUnsafePath);
  EXPECT_THROW(CheckStoredName("a/..", false), EAbZipUnsafePath);
  EXPECT_THROW(CheckStoredName("D:evil", false), EAbZipBadName);  // drive-relative when the base is empty
  EXPECT_THROW(CheckStoredName("prn/", true), EAbZipBadName);      // a folder entry
  EXPECT_NO_THROW(CheckStoredName("prn/", false));                 // writes nothing
  EXPECT_NO_THROW(CheckStoredName("lpt1./ok.txt", false));         // only the file-name part is used
  EXPECT_NO_THROW(CheckStoredName("a//./b.txt", true));

  const std::pair<const char*, NameFault> parts[] = {
      {"plik.txt", NameFault::kNone},       {"con", NameFault::kDeviceName},     {"CoN.x.y", NameFault::kDeviceName},
      {"com9", NameFault::kDeviceName},     {"LPT1 .txt", NameFault::kDeviceName}, {"com10", NameFault::kNone},
      {"lpt", NameFault::kNone},            {"connect", NameFault::kNone},       {".con", NameFault::kNone},
      {"a<b", NameFault::kCharacter},       {"a>b", NameFault::kCharacter},      {"a\"b", NameFault::kCharacter},
      {"a|b", NameFault::kCharacter},       {"a*", NameFault::kCharacter},       {"tab\tx", NameFault::kCharacter},
      {"x.", NameFault::kFinalDotOrBlank},  {"x ", NameFault::kFinalDotOrBlank}, {" x", NameFault::kNone},
      {"\xB1\xE6.txt", NameFault::kNone},  // Windows-1250 letters
  };
  for (const auto& [part, fault] : parts) EXPECT_EQ(WindowsNameFault(part), fault) << part;
}

TEST(MakeFoldersTest, MakesEachMissingLevelBelowDriveOrShare) {
  MemoryFileSystem files;
  files.AddFolder("C:");
  MakeFolders(files, "C:\\a\\b");
  EXPECT_TRUE(files.FolderExists("C:\\a"));
  EXPECT_TRUE(files.FolderExists("C:\\a\\b"));

  files.AddFolder("\\\\srv\\share");
  MakeFolders(files, "\\\\srv\\share\\x\\y");
  EXPECT_TRUE(files.FolderExists("\\\\srv\\share\\x\\y"));

  MakeFolders(files, "rel\\deeper\\deepest");  // relative to the current folder
  EXPECT_TRUE(files.FolderExists("rel"));
  EXPECT_TRUE(files.FolderExists("rel\\deeper\\deepest"));

  files.AddFile("blocked", {});
  EXPECT_THROW(MakeFolders(files, "blocked\\x"), EInOutError);
}

// The declared size bounds what reaches the disk: with writes limited to that size,
// an entry that inflates beyond it still fails by its CRC check, not by the write.
TEST(OutputLimitTest, NothingBeyondTheDeclaredSizeIsWritten) {
  testing::ZipLayout layout;
  layout.entries.push_back({.name = "bomb.bin", .data = testing::Bytes(1 << 20, 'b'), .method = 8,
                          .uncompressedSize = 4096});
  MemoryFileSystem files;
  files.AddFile("a.zip", testing::BuildZip(layout).bytes);
  files.SetWriteLimit(4096);
  TAbUnZipper zip(files);
  std::vector<std::pair<TAbErrorClass, int>> failures;
  zip.OnProcessItemFailure = [&](TAbUnZipper&, TAbArchiveItem&, TAbProcessType, TAbErrorClass c, int code) {
    failures.emplace_back(c, code);
  };
  zip.OpenZip("a.zip");
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, (std::vector<std::pair<TAbErrorClass, int>>{{TAbErrorClass::ecArchiveError, AbZipBadCRC}}));
  EXPECT_EQ(files.Files().size(), 1u);
}

// A replaced file keeps the attributes the old one had, with the archive attribute
// of new content (the file system in memory keeps hidden and system, which the
// POSIX disk has not); a read-only one is not replaced, and nothing is left.
TEST(ReplacedFileTest, KeepsTheOldAttributesButNotOverAReadOnlyFile) {
  testing::ZipLayout layout;
  layout.entries.push_back({.name = "a.dll", .data = testing::ToBytes("new")});
  layout.entries.push_back({.name = "b.dll", .data = testing::ToBytes("new")});
  MemoryFileSystem files;
  files.AddFile("a.zip", testing::BuildZip(layout).bytes);
  files.AddFile("a.dll", testing::ToBytes("old"));
  files.AddFile("b.dll", testing::ToBytes("old"));
  files.SetAttributes("a.dll", kHiddenAttribute | kSystemAttribute);
  files.SetAttributes("b.dll", kReadOnlyAttribute | kArchiveAttribute);
  TAbUnZipper zip(files);
  std::vector<std::pair<TAbErrorClass, int>> failures;
  zip.OnProcessItemFailure = [&](TAbUnZipper&, TAbArchiveItem&, TAbProcessType, TAbErrorClass c, int code) {
    failures.emplace_back(c, code);
  };
  zip.OpenZip("a.zip");
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, (std::vector<std::pair<TAbErrorClass, int>>{{TAbErrorClass::ecFileCreateError, 0}}));
  EXPECT_EQ(files.Files().at("a.dll").data, testing::ToBytes("new"));
  EXPECT_EQ(files.Files().at("a.dll").attributes, kHiddenAttribute | kSystemAttribute | kArchiveAttribute);
  EXPECT_EQ(files.Files().at("b.dll").data, testing::ToBytes("old"));
  EXPECT_EQ(files.Files().size(), 3u);
}

// A failing write (a full disk) is a stream error of its own class.
TEST(OutputLimitTest, FailedWriteIsReportedAsAStreamError) {
  testing::ZipLayout layout;
  layout.entries.push_back({.name = "big.bin", .data = testing::Bytes(100000, 'b')});
  MemoryFileSystem files;
  files.AddFile("a.zip", testing::BuildZip(layout).bytes);
  files.SetWriteLimit(1000);
  TAbUnZipper zip(files);
  std::vector<std::pair<TAbErrorClass, int>> failures;
  zip.OnProcessItemFailure = [&](TAbUnZipper&, TAbArchiveItem&, TAbProcessType, TAbErrorClass c, int code) {
    failures.emplace_back(c, code);
  };
  zip.OpenZip("a.zip");
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, (std::vector<std::pair<TAbErrorClass, int>>{{TAbErrorClass::ecFilerError, 0}}));
  EXPECT_EQ(files.Files().size(), 1u);
}

}  // namespace
}  // namespace setuvane::archive
