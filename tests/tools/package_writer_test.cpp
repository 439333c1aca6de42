// Packages written by the tool and read back by the installer's own reader: every
// method with and without encryption, the headers the installer relies on, and
// reproducible builds byte for byte.
#include <gtest/gtest.h>

#include <random>

#include "archive/unzipper.h"
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

// Every solid package the tool writes must fit what the installer may allocate to
// decode it, or a large product would never install.
TEST(SolidWriterTest, DecodingFitsTheReadersMemoryLimit) {
  EXPECT_LE(LargestDecoderMemory(), archive::SolidStream::kMemoryLimit);
}

}  // namespace
}  // namespace setuvane::pack
