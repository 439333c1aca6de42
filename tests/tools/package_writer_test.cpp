// Packages written by the tool and read back by the installer's own reader: every
// method with and without encryption, the headers the installer relies on, and
// reproducible builds byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>

#include "archive/memory_file_system.h"
#include "archive/solid_package.h"
#include "archive/unzipper.h"
#include "archive/worker_thread.h"
#include "tests/archive/temp_folder.h"
#include "archive/solid_stream.h"
#include "tools/build/package_writer.h"
#include "tools/build/solid_writer.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;
using archive::testing::ReadFile;
using archive::testing::WinPath;

class PackageWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937 random(7);
    std::string noise(70000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "linia " + std::to_string(i) + "\r\n";
    std::string settings;
    for (int i = 0; i < 10; ++i) settings += "INSTALL_TASK_TITLE=Demo\r\n";
    Add("install.inf", "", settings);
    Add("empty.dat", "<programfolder>", "");
    Add("bin/noise.bin", "<programfolder>bin", noise);  // does not deflate: stored
    Add("doc/text.txt", "<desktopfolder>Dok\xB3" "ady", text);
  }
  void Add(const std::string& name, const std::string& destination, const std::string& bytes) {
    const fs::path source = temp.Path() / ("source" + std::to_string(files.size()));
    std::ofstream(source, std::ios::binary) << bytes;
    files.push_back({source, name, destination, 1, 1, bytes.size(), std::nullopt});
    contents.push_back(bytes);
  }
  fs::path Write(const std::string& name, const WriteOptions& options) {
    const fs::path path = temp.Path() / name;
    WritePackage(files, path, options);
    return path;
  }

  archive::testing::TempFolder temp;
  std::vector<PackageFile> files;
  std::vector<std::string> contents;
};

TEST_F(PackageWriterTest, EveryMethodWithAndWithoutEncryptionReadsBack) {
  struct Case {
    std::string password;
    int level;
    std::vector<uint16_t> methods;
  };
  int round = 0;
  for (const Case& c : {Case{"tarnwick", 9, {8, 0, 0, 8}}, Case{"", 9, {8, 0, 0, 8}},
                        Case{"za\xBF\xF3\xB3\xE6", 1, {8, 0, 0, 8}}, Case{"tarnwick", 0, {0, 0, 0, 0}}}) {
    SCOPED_TRACE(c.password + " level " + std::to_string(c.level));
    WriteOptions options;
    options.password = c.password;
    options.level = c.level;
    const fs::path package = Write("p.zip", options);

    archive::TAbUnZipper zip;
    zip.SetPassword(c.password);
    zip.SetExtractOptions(archive::eoCreateDirs | archive::eoRestorePath);
    const fs::path out = temp.Path() / ("out" + std::to_string(round++));
    fs::create_directories(out);
    zip.SetBaseDirectory(WinPath(out));
    zip.OpenZip(WinPath(package));
    std::vector<std::string> failures;
    zip.OnProcessItemFailure = [&](archive::TAbUnZipper& z, archive::TAbArchiveItem& item, archive::TAbProcessType,
                                   archive::TAbErrorClass, int) { failures.push_back(item.StoredName() + ": " + z.FailureText()); };
    ASSERT_EQ(zip.EntryCount(), 4);
    for (int i = 0; i < 4; ++i) {
      const archive::TAbZipItem& item = *zip.Entries(i);
      EXPECT_EQ(item.StoredName(), files[i].storedName);
      EXPECT_EQ(item.CompressionMethod(), c.methods[i]) << i;
      EXPECT_EQ(item.IsEncrypted(), !c.password.empty());
      EXPECT_EQ(item.VersionNeededToExtract(), 20);
      // The destination text and nothing else in the central extra field.
      EXPECT_EQ(item.Header().ExtraField, files[i].destination);
      EXPECT_EQ(item.UncompressedSize(), contents[i].size());
    }
    zip.ExtractMatching("*.*");
    EXPECT_EQ(failures, std::vector<std::string>{});
    for (size_t i = 0; i < files.size(); ++i) {
      EXPECT_EQ(ReadFile(out / PathFromText(files[i].storedName)), contents[i]);
    }
  }
}

TEST_F(PackageWriterTest, ReproducibleBuildsAreByteIdenticalWhateverTheThreads) {
  WriteOptions options;
  options.password = "tarnwick";
  options.fixedTime = 946684800;  // 2000-01-01 00:00 UTC
  options.jobs = 1;
  const std::string first = ReadFile(Write("a.zip", options));
  options.jobs = 4;
  EXPECT_EQ(ReadFile(Write("b.zip", options)), first);

  options.fixedTime.reset();
  const std::string randomA = ReadFile(Write("c.zip", options));
  const std::string randomB = ReadFile(Write("d.zip", options));
  EXPECT_NE(randomA, randomB);  // fresh header bytes each time
  EXPECT_EQ(randomA.size(), first.size());

  archive::TAbUnZipper zip;
  zip.OpenZip(WinPath(temp.Path() / "a.zip"));
  EXPECT_EQ(zip.Entries(2)->LastModFileDate(), (20 << 9) | (1 << 5) | 1);
  EXPECT_EQ(zip.Entries(2)->LastModFileTime(), 0);
}

TEST_F(PackageWriterTest, FailedWriteLeavesNoPackage) {
  files.push_back({temp.Path() / "vanished", "gone.txt", "<programfolder>", 1, 1, 10, std::nullopt});
  EXPECT_THROW(Write("p.zip", WriteOptions{}), std::runtime_error);
  EXPECT_FALSE(fs::exists(temp.Path() / "p.zip"));
  EXPECT_FALSE(fs::exists(temp.Path() / "p.zip.part"));
}

// Programs are a block of the stream of their own, which the reader decodes as a
// second part (on a thread of its own) where memory allows: the entries come
// interleaved, setup files first and each part in its stored order, and all read
// back whole; a byte changed inside the programs' block is refused as damaged,
// through the thread, while the text files before it still extract.
TEST_F(PackageWriterTest, SolidProgramsAreASecondPartReadInterleavedAndRefusedWhenDamaged) {
  if (archive::PhysicalMemory() < (uint64_t(256) << 20)) GTEST_SKIP() << "one part where memory is short";
  std::mt19937 random(11);
  for (int i = 0; i < 3; ++i) {
    std::string program(150000, '\0');
    for (char& c : program) c = static_cast<char>(random() % 16);  // compresses, but not to nothing
    program.replace(0, 20, std::string("\x7F" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0\x3E\0", 20));
    Add("bin/p" + std::to_string(i) + ".so", "<programfolder>bin", program);
    for (int j = 0; j < 8; ++j) Add("doc/" + std::to_string(i * 8 + j) + ".txt", "<programfolder>doc", contents[3]);
  }
  const fs::path package = temp.Path() / "setup.pkg";
  WriteSolidPackage(files, package, WriteOptions{});

  archive::TAbUnZipper zip;
  zip.SetExtractOptions(archive::eoCreateDirs | archive::eoRestorePath);
  fs::create_directories(temp.Path() / "out");
  zip.SetBaseDirectory(WinPath(temp.Path() / "out"));
  zip.OpenZip(WinPath(package));
  std::vector<std::string> order;
  for (int i = 0; i < zip.EntryCount(); ++i) order.push_back(zip.Entries(i)->StoredName());
  ASSERT_EQ(order.size(), files.size());
  EXPECT_EQ(order[0], "install.inf");
  const auto at = [&](const std::string& name) { return std::find(order.begin(), order.end(), name) - order.begin(); };
  EXPECT_LT(at("bin/p0.so"), at("doc/23.txt")) << "the programs are not left to the end";
  EXPECT_LT(at("bin/p0.so"), at("bin/p1.so"));
  EXPECT_LT(at("doc/0.txt"), at("doc/1.txt"));
  zip.ExtractMatching("*.*");
  for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(ReadFile(temp.Path() / "out" / PathFromText(files[i].storedName)), contents[i]);

  // A byte in the middle of the second block (the programs compress to most of it).
  std::string bytes = ReadFile(package);
  const auto second = [&] {
    archive::MemoryFileSystem memory;
    memory.AddFile("p", std::vector<uint8_t>(bytes.begin(), bytes.end()));
    return archive::FindSecondBlock(*memory.OpenRead("p"), archive::kSolidHeaderSize,
                                    int64_t(bytes.size() - archive::kSolidHeaderSize));
  }();
  ASSERT_TRUE(second);
  bytes[size_t(archive::kSolidHeaderSize + second->streamOffset) + (bytes.size() - second->streamOffset) / 2] ^= 0x55;
  std::ofstream(package, std::ios::binary | std::ios::trunc) << bytes;
  archive::TAbUnZipper damaged;
  std::vector<std::string> failures;
  damaged.OnProcessItemFailure = [&](archive::TAbUnZipper&, archive::TAbArchiveItem& item, archive::TAbProcessType,
                                     archive::TAbErrorClass, int) { failures.push_back(item.StoredName()); };
  damaged.SetExtractOptions(archive::eoCreateDirs | archive::eoRestorePath);
  fs::create_directories(temp.Path() / "bad");
  damaged.SetBaseDirectory(WinPath(temp.Path() / "bad"));
  damaged.OpenZip(WinPath(package));
  damaged.ExtractMatching("*.*");
  ASSERT_FALSE(failures.empty());
  EXPECT_EQ(failures[0].rfind("bin/p", 0), 0u) << failures[0];
  EXPECT_EQ(ReadFile(temp.Path() / "bad/doc/0.txt"), contents[3]);
}

// Every solid package the tool writes must fit what the installer may allocate to
// decode it, or a large product would never install.
TEST(SolidWriterTest, DecodingFitsTheReadersMemoryLimit) {
  EXPECT_LE(LargestDecoderMemory(), archive::SolidStream::kMemoryLimit);
}

}  // namespace
}  // namespace setuvane::pack
