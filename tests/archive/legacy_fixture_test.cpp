// Shrunk, reduced and imploded entries of real archives made by other tools (the
// shared legacy fixtures), read through the unzip component as the installer reads
// its package: every entry must decode to its CRC, plain and encrypted, and the
// generated ones must give back their inputs byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "archive/unzipper.h"
#include "system/cp1250.h"
#include "tests/archive/temp_folder.h"

namespace setuvane::archive {
namespace {

namespace fs = std::filesystem;

fs::path FixtureDir() {
  const char* root = std::getenv("SETUVANE_SOURCE_DIR");
  return fs::path(root ? root : ".") / ".." / "shared" / "fixtures" / "legacy";
}

#define SKIP_WITHOUT_FIXTURES() \
  if (!fs::is_directory(FixtureDir())) GTEST_SKIP() << "no legacy fixtures at " << FixtureDir()

std::string PasswordOf(const std::string& archive) {
  if (archive == "enc-shrink-oldunzip-zipcloak-cp1250pw.zip") return Cp1250("Zażółć");
  return archive.rfind("enc-", 0) == 0 ? "legacy" : "";
}

// Tests every entry of a fixture archive; returns "entry: failure" for each failed one.
struct Tested {
  int entries = 0;
  int legacyEntries = 0;
  int encryptedLegacyEntries = 0;
  std::vector<std::string> failures;
};

Tested TestArchive(const std::string& archive) {
  Tested result;
  TAbUnZipper zip;
  zip.SetPassword(PasswordOf(archive));
  zip.OnProcessItemFailure = [&](TAbUnZipper& sender, TAbArchiveItem& item, TAbProcessType, TAbErrorClass, int) {
    result.failures.push_back(item.GetStoredName() + ": " + sender.FailureText());
  };
  zip.OpenZip(testing::WinPath(FixtureDir() / archive));
  result.entries = zip.EntryCount();
  for (int i = 0; i < zip.EntryCount(); ++i) {
    uint16_t method = zip.Entries(i)->CompressionMethod();
    if (method < 1 || method > 6) continue;
    ++result.legacyEntries;
    if (zip.Entries(i)->GeneralPurposeBitFlag() & 1) ++result.encryptedLegacyEntries;
  }
  zip.TestMatching("*.*");
  return result;
}

void ExpectClean(std::initializer_list<const char*> archives) {
  for (const char* archive : archives) {
    Tested tested = TestArchive(archive);
    EXPECT_GT(tested.legacyEntries, 0) << archive;
    EXPECT_EQ(tested.failures, std::vector<std::string>{}) << archive;
  }
}

TEST(LegacyFixtures, EveryLegacyEntryTestsCleanPlainAndEncrypted) {
  SKIP_WITHOUT_FIXTURES();
  // Deflate64, bzip2 and LZMA entries beside the legacy ones: not methods of the format.
  const std::set<std::string> expectedFailures = {
      "$14_df64.tmp: Cannot extract file - newer version required",
      "$15_bzp2.tmp: Cannot extract file - newer version required",
      "$16_lzma.tmp: Cannot extract file - newer version required"};
  int legacy = 0, encrypted = 0;
  for (const auto& file : fs::directory_iterator(FixtureDir())) {
    const std::string name = file.path().filename().string();
    if (file.path().extension() != ".zip") continue;
    Tested tested = TestArchive(name);
    EXPECT_GT(tested.entries, 0) << name;
    for (const std::string& failure : tested.failures) {
      EXPECT_TRUE(expectedFailures.count(failure)) << name << ": " << failure;
    }
    legacy += tested.legacyEntries;
    encrypted += tested.encryptedLegacyEntries;
  }
  EXPECT_EQ(legacy, 249);  // 219 plain and 30 encrypted entries of methods 1 to 6
  EXPECT_EQ(encrypted, 30);
}

TEST(LegacyFixtures, GeneratedEntriesGiveBackTheirInputs) {
  SKIP_WITHOUT_FIXTURES();
  std::map<std::string, std::vector<char>> inputs;
  for (const char* name : {"WORDS.TXT", "MIXED.BIN", "SMALL.TXT"}) {
    std::ifstream in(FixtureDir() / "inputs" / name, std::ios::binary);
    inputs[name].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    ASSERT_FALSE(inputs[name].empty()) << name;
  }
  for (const auto& file : fs::directory_iterator(FixtureDir())) {
    const std::string archive = file.path().filename().string();
    const bool generated = archive.rfind("gen-", 0) == 0 ||
                           (archive.rfind("enc-", 0) == 0 &&
                            (archive.find("zipada") != std::string::npos || archive.find("-hwzip-") != std::string::npos));
    if (!generated) continue;
    testing::TempFolder folder;
    TAbUnZipper zip;
    zip.SetPassword(PasswordOf(archive));
    zip.OpenZip(testing::WinPath(file.path()));
    zip.SetBaseDirectory(testing::WinPath(folder.Path()));
    zip.ExtractMatching("*.*");
    for (const auto& [name, bytes] : inputs) {
      std::ifstream out(folder.Path() / name, std::ios::binary);
      std::vector<char> got((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
      EXPECT_TRUE(got == bytes) << archive << " " << name << " (" << got.size() << " bytes)";
    }
  }
}

// The findings of the fixtures' manifest, one test each.

TEST(LegacyFixtureFindings, CopiesBeforeTheStartReadZeros) {
  SKIP_WITHOUT_FIXTURES();
  ExpectClean({"reduce-1-sharpcompress-pkzip1x.zip", "reduce-2-sharpcompress-pkzip1x.zip",
               "reduce-3-sharpcompress-pkzip1x.zip", "reduce-4-sharpcompress-pkzip1x.zip",
               "reduce-4-defacto2-pkzip-large.zip", "implode-4k2-8k3-sharpcompress-pkzip1x.zip"});
}

TEST(LegacyFixtureFindings, ReduceCopiesMayOverlapThemselves) {
  SKIP_WITHOUT_FIXTURES();
  ExpectClean({"gen-reduce-1-zipada.zip", "gen-reduce-2-zipada.zip", "gen-reduce-3-zipada.zip",
               "gen-reduce-4-zipada.zip"});
}

TEST(LegacyFixtureFindings, FollowerSetOfOneHasAOneBitIndex) {
  SKIP_WITHOUT_FIXTURES();
  ExpectClean({"reduce-4-oldunzip-example.zip", "reduce-4-ziprs-hwzip.zip", "enc-reduce-4-oldunzip-zipcloak.zip"});
}

TEST(LegacyFixtureFindings, SixteenBitShannonFanoCodes) {
  SKIP_WITHOUT_FIXTURES();
  ExpectClean({"implode-8k3-commons-moby-tika.zip", "gen-implode-4k2-hwzip.zip", "gen-implode-8k2-hwzip.zip",
               "implode-4k2-defacto2-pkzip110-large.zip", "implode-8k3-ziprs-hwzip.zip"});
}

TEST(LegacyFixtureFindings, ImplodeFlagBitsDoNotApplyToAShrunkEntry) {
  SKIP_WITHOUT_FIXTURES();
  TAbUnZipper zip;
  zip.OpenZip(testing::WinPath(FixtureDir() / "implode-8k3-commons-moby-tika.zip"));
  int shrunkWithBits = 0;
  for (int i = 0; i < zip.EntryCount(); ++i) {
    TAbZipItem& item = *zip.Entries(i);
    if (item.CompressionMethod() == 1 && (item.GeneralPurposeBitFlag() & 6) == 6) ++shrunkWithBits;
  }
  EXPECT_EQ(shrunkWithBits, 1);
  ExpectClean({"implode-8k3-commons-moby-tika.zip"});
}

TEST(LegacyFixtureFindings, PasswordIsKeyedWithItsWindows1250Bytes) {
  SKIP_WITHOUT_FIXTURES();
  ExpectClean({"enc-shrink-oldunzip-zipcloak-cp1250pw.zip"});
  TAbUnZipper zip;
  zip.SetPassword("Zażółć");  // the UTF-8 bytes: a different key
  int failures = 0;
  zip.OnProcessItemFailure = [&](TAbUnZipper&, TAbArchiveItem&, TAbProcessType, TAbErrorClass, int) { ++failures; };
  zip.OpenZip(testing::WinPath(FixtureDir() / "enc-shrink-oldunzip-zipcloak-cp1250pw.zip"));
  zip.TestMatching("*.*");
  EXPECT_EQ(failures, 1);
}

}  // namespace
}  // namespace setuvane::archive
