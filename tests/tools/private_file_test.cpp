// The file that hands the signing password over: new, the owner's alone, and never
// written through a name that was there before.
#include "tools/private_file.h"

#include <gtest/gtest.h>

#include "tests/archive/temp_folder.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;

TEST(PrivateFile, IsNewAndTheOwnersAlone) {
  archive::testing::TempFolder temp;
  const fs::path path = temp.Path() / "secret.tmp";
  ASSERT_TRUE(WritePrivateFile(path, "tajne"));
  EXPECT_EQ(archive::testing::ReadFile(path), "tajne");
#ifndef _WIN32
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  // A link planted under the name is not followed.
  const fs::path planted = temp.Path() / "planted";
  fs::create_symlink(temp.Path() / "target", planted);
  EXPECT_FALSE(WritePrivateFile(planted, "tajne"));
  EXPECT_FALSE(fs::exists(temp.Path() / "target"));
#endif
  EXPECT_FALSE(WritePrivateFile(path, "inne"));
  EXPECT_EQ(archive::testing::ReadFile(path), "tajne");
}

}  // namespace
}  // namespace setuvane::pack
