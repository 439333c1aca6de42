// Creating files ahead on the real disk: only allowed new files are made, nothing
// that is there is touched, a file whose folder is missing is left to the caller,
// and files made but not taken are gone with the object. Whether the thread got to
// a file before the caller did is timing; the outcome must not depend on it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "archive/create_ahead.h"
#include "tests/archive/temp_folder.h"

namespace setuvane::archive {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WinPath;
using testing::WriteFile;

// Waits (up to a few seconds) until `done` holds.
template <class Condition>
bool Eventually(Condition done) {
  for (int i = 0; i < 500 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return done();
}

void Write(WritableFile& file, const std::string& text) {
  file.Write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  file.Close();
}

TEST(CreateAheadTest, HandsOverAllowedNewFilesAndLeavesTheRestToTheCaller) {
  TempFolder temp;
  const auto at = [&](const std::string& name) { return temp.Path() / name; };
  WriteFile(at("there.txt"), {'o', 'l', 'd'});
  FileSystem& disk = NativeFileSystem();
  const std::vector<std::string> names = {"a.txt", "there.txt", "later.txt", "sub/in.txt", "sub/next.txt", "c.txt"};
  std::vector<std::string> targets;
  for (const std::string& name : names) targets.push_back(WinPath(at(name)));
  CreateAhead ahead(disk, targets, 2);
  for (size_t i = 0; i < targets.size(); ++i) {
    if (names[i] != "later.txt") ahead.Allow(i);
  }
  ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(at("a.txt")); }));
  EXPECT_EQ(ahead.Take(WinPath(at("elsewhere.txt"))), nullptr) << "a path not planned is the caller's";

  for (size_t i = 0; i < targets.size(); ++i) {
    if (names[i] == "later.txt") {
      EXPECT_FALSE(std::filesystem::exists(at("later.txt"))) << "made before it was allowed";
    }
    if (names[i] == "sub/in.txt") std::filesystem::create_directory(at("sub"));
    std::unique_ptr<WritableFile> file = ahead.Take(targets[i]);
    if (names[i] == "a.txt") {
      EXPECT_NE(file, nullptr) << "an allowed new file was not made ahead";
    }
    if (names[i] == "there.txt") {
      EXPECT_EQ(file, nullptr) << "a file that is there was taken over";
      continue;
    }
    if (!file) file = disk.CreateNew(targets[i]);
    ASSERT_NE(file, nullptr) << names[i];
    Write(*file, names[i]);
  }
  EXPECT_EQ(ReadFile(at("there.txt")), "old");
  for (const std::string& name : names) {
    if (name != "there.txt") {
      EXPECT_EQ(ReadFile(at(name)), name);
    }
  }
}

TEST(CreateAheadTest, RemovesTheFilesNotTakenWhenItGoes) {
  TempFolder temp;
  const std::vector<std::string> targets = {WinPath(temp.Path() / "one"), WinPath(temp.Path() / "two")};
  {
    CreateAhead ahead(NativeFileSystem(), targets, 8);
    ahead.Allow(0);
    ahead.Allow(1);
    ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(temp.Path() / "two"); }));
    std::unique_ptr<WritableFile> first = ahead.Take(targets[0]);
    ASSERT_NE(first, nullptr);
    Write(*first, "kept");
  }
  EXPECT_EQ(ReadFile(temp.Path() / "one"), "kept");
  EXPECT_FALSE(std::filesystem::exists(temp.Path() / "two"));
}

}  // namespace
}  // namespace setuvane::archive
