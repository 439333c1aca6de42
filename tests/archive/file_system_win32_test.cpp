// The Win32 file seam with the calls that Windows 95 has: positioned reads through
// the file pointer, also from several threads at once, and the replacement by
// renaming that stands in for MoveFileExA on Windows 9x.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "archive/file_system.h"
#include "platform/win32/file_replace_win32.h"
#include "tests/archive/temp_folder.h"

namespace setuvane::archive {
namespace {

using testing::ListTree;
using testing::ReadFile;
using testing::TempFolder;
using testing::WinPath;
using testing::WriteFile;

std::vector<uint8_t> Text(const std::string& text) { return {text.begin(), text.end()}; }

TEST(Win32Files, ReplacingByRenamingKeepsTheOldFileWhenTheNewOneCannotTakeItsPlace) {
  TempFolder folder;
  const std::string target = WinPath(folder.Path() / "dane.mdb");
  const std::string written = WinPath(folder.Path() / "~sv1.tmp");
  WriteFile(folder.Path() / "dane.mdb", Text("old"));

  EXPECT_FALSE(ReplaceByRenaming(WinPath(folder.Path() / "brak.tmp"), target));
  EXPECT_EQ(ReadFile(folder.Path() / "dane.mdb"), "old");
  EXPECT_EQ(ListTree(folder.Path()), std::vector<std::string>{"dane.mdb"});

  WriteFile(folder.Path() / "~sv1.tmp", Text("new"));
  EXPECT_TRUE(ReplaceByRenaming(written, target));
  EXPECT_EQ(ReadFile(folder.Path() / "dane.mdb"), "new");
  EXPECT_EQ(ListTree(folder.Path()), std::vector<std::string>{"dane.mdb"});

  WriteFile(folder.Path() / "~sv1.tmp", Text("first"));
  EXPECT_TRUE(ReplaceByRenaming(written, WinPath(folder.Path() / "nowy.txt")));
  EXPECT_EQ(ReadFile(folder.Path() / "nowy.txt"), "first");
}

TEST(Win32Files, ReadsAtPositionsFromSeveralThreadsAtOnce) {
  TempFolder folder;
  std::vector<uint8_t> bytes(1 << 20);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 12));
  WriteFile(folder.Path() / "dane.bin", bytes);
  std::unique_ptr<ReadableFile> file = NativeFileSystem().OpenRead(WinPath(folder.Path() / "dane.bin"));
  ASSERT_EQ(file->Size(), int64_t(bytes.size()));

  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> readers;
  for (int reader = 0; reader < 4; ++reader) {
    readers.emplace_back([&, reader] {
      std::vector<uint8_t> chunk(64 + 33 * reader);
      for (int round = 0; round < 20000; ++round) {
        const size_t offset = (size_t(round) * 7919 + size_t(reader) * 104729) % bytes.size();
        const size_t got = file->ReadAt(int64_t(offset), chunk.data(), chunk.size());
        const size_t expected = std::min(chunk.size(), bytes.size() - offset);
        if (got != expected || !std::equal(chunk.begin(), chunk.begin() + got, bytes.begin() + offset)) {
          ++mismatches[reader];
        }
      }
    });
  }
  for (std::thread& reader : readers) reader.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
  // At and past the end: nothing.
  uint8_t byte;
  EXPECT_EQ(file->ReadAt(int64_t(bytes.size()), &byte, 1), 0u);
  EXPECT_EQ(file->ReadAt(int64_t(bytes.size()) + 10, &byte, 1), 0u);
}

}  // namespace
}  // namespace setuvane::archive
