// Archives made by Info-ZIP zip (every level, traditional encryption) extract byte
// for byte like Info-ZIP unzip extracts them. Native only: it runs the two tools.
#include <gtest/gtest.h>

#include <cstdlib>

#include "archive/unzipper.h"
#include "tests/archive/payload.h"
#include "tests/archive/temp_folder.h"

namespace setuvane::archive {
namespace {

namespace fs = std::filesystem;

int Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

void ExpectSameTrees(const fs::path& expected, const fs::path& actual) {
  const std::vector<std::string> names = testing::ListTree(expected);
  ASSERT_EQ(names, testing::ListTree(actual));
  for (const std::string& name : names) {
    if (fs::is_regular_file(expected / name)) {
      EXPECT_TRUE(testing::ReadFile(expected / name) == testing::ReadFile(actual / name)) << name;
    }
  }
}

class InfoZipTest : public ::testing::TestWithParam<std::string> {
 protected:
  static void SetUpTestSuite() {
    folder = new testing::TempFolder;
    testing::MakePayload(folder->Path() / "src", 60);
  }
  static void TearDownTestSuite() { delete folder; }
  static testing::TempFolder* folder;
};
testing::TempFolder* InfoZipTest::folder = nullptr;

TEST_P(InfoZipTest, ExtractsLikeUnzip) {
  const fs::path root = folder->Path();
  const std::string options = GetParam();
  const std::string tag = std::to_string(std::hash<std::string>()(options));
  const fs::path archive = root / (tag + ".zip");
  ASSERT_EQ(Shell("cd '" + (root / "src").string() + "' && zip -q -r -X " + options + " '" + archive.string() + "' ."), 0);
  const std::string password = options.find("-P") != std::string::npos ? "-P tarnwick " : "";
  ASSERT_EQ(Shell("unzip -qo " + password + "-d '" + (root / ("unzip" + tag)).string() + "' '" + archive.string() + "'"), 0);

  const fs::path ours = root / ("ours" + tag);
  fs::create_directories(ours);
  TAbUnZipper zip;
  std::vector<std::string> failures;
  zip.OnProcessItemFailure = [&](TAbUnZipper& sender, TAbArchiveItem& item, TAbProcessType, TAbErrorClass, int) {
    failures.push_back(item.StoredName() + ": " + sender.FailureText());
  };
  zip.SetExtractOptions(eoCreateDirs | eoRestorePath);
  zip.SetPassword("tarnwick");
  zip.SetBaseDirectory(testing::WinPath(ours));
  zip.OpenZip(testing::WinPath(archive));
  ASSERT_GT(zip.EntryCount(), 60);
  zip.ExtractMatching("*.*");
  EXPECT_EQ(failures, std::vector<std::string>{});
  ExpectSameTrees(root / ("unzip" + tag), ours);
}

INSTANTIATE_TEST_SUITE_P(Levels, InfoZipTest,
                         ::testing::Values("-0", "-1", "-2", "-3", "-4", "-5", "-6", "-7", "-8", "-9",
                                           "-0 -P tarnwick", "-6 -P tarnwick", "-9 -P tarnwick"));

}  // namespace
}  // namespace setuvane::archive
