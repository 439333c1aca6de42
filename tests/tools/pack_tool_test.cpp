// setuvane-pack list, test and extract, run as a program: exit codes, what goes to
// standard output and error, and the files it leaves.
#include <gtest/gtest.h>

#include <cstdlib>

#include <nlohmann/json.hpp>

#include "tests/archive/temp_folder.h"
#include "tests/archive/zip_writer.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;
using archive::testing::Bytes;
using archive::testing::BuildZip;
using archive::testing::ToBytes;
using archive::testing::ZipLayout;

struct Result {
  int code;
  std::string out, err;
};

class PackToolTest : public ::testing::Test {
 protected:
  // Runs setuvane-pack with `arguments` (shell words) in the test's folder.
  Result Pack(const std::string& arguments) { return Run("'" SETUVANE_PACK "' " + arguments); }
  // Runs a shell command in the test's folder.
  Result Run(const std::string& shellCommand) {
    const fs::path root = temp.Path();
    const std::string command = "cd '" + root.string() + "' && { " + shellCommand + "; } >'" +
                                (root / "stdout").string() + "' 2>'" + (root / "stderr").string() + "'";
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), archive::testing::ReadFile(root / "stdout"),
            archive::testing::ReadFile(root / "stderr")};
  }
  void Write(const std::string& name, const ZipLayout& layout) {
    archive::testing::WriteFile(temp.Path() / name, BuildZip(layout).bytes);
  }
  std::vector<std::string> Tree(const std::string& folder) { return archive::testing::ListTree(temp.Path() / folder); }

  archive::testing::TempFolder temp;
};

ZipLayout Package() {
  ZipLayout layout;
  layout.entries.push_back({.name = "install.inf", .data = ToBytes("[settings]\r\n"), .password = "tarnwick"});
  layout.entries.push_back({.name = "bin/app.exe", .data = Bytes(50000, 'x'), .method = 8, .password = "tarnwick",
                          .centralExtra = "<programfolder>"});
  layout.entries.push_back({.name = "doc/read\x1B[31mme.txt", .data = ToBytes("plain")});
  return layout;
}

TEST_F(PackToolTest, ListShowsEveryEntryWithItsDestination) {
  Write("p.zip", Package());
  const Result r = Pack("list p.zip");
  EXPECT_EQ(r.code, 0);
  const std::string crc = [] {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", archive::testing::ZipCrc(Bytes(50000, 'x')));
    return std::string(text);
  }();
  EXPECT_NE(r.out.find("     50000"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("deflated    * " + crc + "  bin/app.exe -> <programfolder>\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("stored      * "), std::string::npos) << r.out;
  // A control character of a name is shown escaped, never sent to the terminal.
  EXPECT_NE(r.out.find("doc/read\\x1B[31mme.txt\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.err, "");

  const nlohmann::json listed = nlohmann::json::parse(Pack("list --json p.zip").out);
  ASSERT_EQ(listed["entries"].size(), 3u);
  EXPECT_EQ(listed["entries"][1], (nlohmann::json{{"name", "bin/app.exe"}, {"destination", "<programfolder>"},
                                                  {"method", "deflated"}, {"encrypted", true}, {"size", 50000},
                                                  {"compressedSize", listed["entries"][1]["compressedSize"]},
                                                  {"crc32", archive::testing::ZipCrc(Bytes(50000, 'x'))}}));
  EXPECT_EQ(listed["entries"][2]["name"], "doc/read\x1B[31mme.txt");  // escaped by JSON itself
}

TEST_F(PackToolTest, TestChecksEveryEntryAndNamesEachFailure) {
  Write("p.zip", Package());
  Result r = Pack("test p.zip");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "no errors in 3 entries\n");

  r = Pack("test -P other p.zip");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "install.inf: Cannot extract file - invalid password\n"
            "bin/app.exe: Cannot extract file - invalid password\n");

  ZipLayout damaged = Package();
  damaged.entries[2].crc = 7;
  Write("d.zip", damaged);
  r = Pack("test d.zip");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "doc/read\\x1B[31mme.txt: Failed CRC Check\n");
  EXPECT_EQ(Tree(""), (std::vector<std::string>{"d.zip", "p.zip", "stderr", "stdout"}));  // nothing written
}

TEST_F(PackToolTest, ExtractRestoresFoldersOrWritesFlat) {
  Write("p.zip", Package());
  Result r = Pack("extract -d out/new p.zip");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Tree("out"), (std::vector<std::string>{"new", "new/bin", "new/bin/app.exe", "new/doc",
                                                   "new/doc/read\x1B[31mme.txt", "new/install.inf"}));
  EXPECT_EQ(archive::testing::ReadFile(temp.Path() / "out/new/bin/app.exe"), std::string(50000, 'x'));

  EXPECT_EQ(r.out, "3 entries extracted\n");

  r = Pack("extract -j -d flat p.zip '*.exe' install.inf");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "2 entries extracted\n");
  EXPECT_EQ(Pack("extract -d none p.zip '*.doc'").out, "no entry matches\n");
  EXPECT_EQ(Tree("flat"), (std::vector<std::string>{"app.exe", "install.inf"}));
}

TEST_F(PackToolTest, PasswordsAreKeyedInWindows1250) {
  ZipLayout layout;
  layout.entries.push_back({.name = "a.txt", .data = ToBytes("polish"), .password = "za\xBF\xF3\xB3\xE6"});  // zażółć
  Write("pl.zip", layout);
  Result r = Pack("extract -d o -P 'zażółć' pl.zip");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(archive::testing::ReadFile(temp.Path() / "o/a.txt"), "polish");
  r = Pack("extract -d o -P '日本' pl.zip");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("no Windows-1250 form"), std::string::npos);
}

TEST_F(PackToolTest, FailedEntriesAreReportedAndLeaveNothing) {
  ZipLayout layout;
  layout.entries.push_back({.name = "../escape.txt", .data = ToBytes("x")});
  layout.entries.push_back({.name = "bad.txt", .data = ToBytes("y"), .crc = 1});
  layout.entries.push_back({.name = "good.txt", .data = ToBytes("z")});
  Write("f.zip", layout);
  const Result r = Pack("extract -d o f.zip");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "../escape.txt: Cannot extract file - stored path leads outside the base directory\n"
            "bad.txt: Failed CRC Check\n");
  EXPECT_EQ(r.out, "2 of 3 entries failed\n");
  EXPECT_EQ(Tree("o"), std::vector<std::string>{"good.txt"});
  EXPECT_FALSE(fs::exists(temp.Path() / "escape.txt"));
}

const char kSample[] = SETUVANE_SOURCE "/tests/tools/sample_package/manifest.txt";

// A package built by the tool passes the peers' tests: Info-ZIP and 7-Zip decrypt
// and check every entry; bsdtar lists it (read as a stream: its seeking reader wants
// APPNOTE blocks in the central extra field, which holds the destination text).
TEST_F(PackToolTest, BuiltPackagesPassThePeersTests) {
  Result r = Pack(std::string("build -o p.zip ") + kSample);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.rfind("p.zip: 9 entries (", 0), 0u) << r.out;
  EXPECT_EQ(Pack("test p.zip").out, "no errors in 9 entries\n");
  const Result peers = Run("unzip -t -P tarnwick p.zip && 7z t -ptarnwick p.zip && cat p.zip | bsdtar -tf -");
  EXPECT_EQ(peers.code, 0) << peers.out << peers.err;

  r = Pack(std::string("build --password 'inne hasło' --level 12 -o q.zip ") + kSample);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Pack("test -P 'inne hasło' q.zip").out, "no errors in 9 entries\n");
  // Keyed with the password's Windows-1250 bytes.
  EXPECT_EQ(Run("unzip -t -P \"$(printf 'inne has\\263o')\" q.zip").code, 0);

  Pack(std::string("build --reproducible -o r1.zip ") + kSample);
  Pack(std::string("build --reproducible --jobs 1 -o r2.zip ") + kSample);
  EXPECT_EQ(archive::testing::ReadFile(temp.Path() / "r1.zip"), archive::testing::ReadFile(temp.Path() / "r2.zip"));
}

TEST_F(PackToolTest, BuildWritesNothingWhenThePackageHasErrors) {
  archive::testing::WriteFile(temp.Path() / "m.txt", ToBytes("[setup]\nm.txt\n[<programfolder>]\nm.txt\n"));
  Result r = Pack("build m.txt");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("m.txt: error: no setup file install.inf: the installer reads it"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("setuvane-pack build: 3 error(s), 2 warning(s); nothing written"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(temp.Path() / "install.zip"));

  for (const char* name : {"install.inf", "registry.inf", "shortcut.inf"}) {
    archive::testing::WriteFile(temp.Path() / name, {});
  }
  archive::testing::WriteFile(temp.Path() / "m.txt",
                              ToBytes("[setup]\ninstall.inf\nregistry.inf\nshortcut.inf\n[<programfolder>]\nm.txt\n"));
  r = Pack("build --strict m.txt");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("0 error(s), 2 warning(s) (--strict); nothing written"), std::string::npos) << r.err;
  EXPECT_EQ(Pack("build m.txt").code, 0);
  EXPECT_TRUE(fs::exists(temp.Path() / "install.zip"));
  // A pattern that takes in the package of the last build.
  archive::testing::WriteFile(temp.Path() / "n.txt",
                              ToBytes("[setup]\ninstall.inf\nregistry.inf\nshortcut.inf\n[<programfolder>]\n*.zip\n"));
  r = Pack("build n.txt");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("n.txt:6: error: 'install.zip' is the package being written"), std::string::npos) << r.err;
  EXPECT_EQ(Pack("build --level 13 m.txt").code, 2);
  EXPECT_EQ(Pack("build missing.txt").code, 2);
}

TEST_F(PackToolTest, UsageErrorsAndHelp) {
  for (const char* command : {"list", "test", "extract", "build"}) {
    const Result help = Pack(std::string(command) + " --help");
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind(std::string("usage: setuvane-pack ") + command, 0), 0u) << help.out;
    EXPECT_EQ(Pack(command).code, 2);
    EXPECT_EQ(Pack(std::string(command) + " -Z x.zip").code, 2);
  }
  EXPECT_EQ(Pack("").code, 2);
  EXPECT_EQ(Pack("frobnicate").code, 2);
  EXPECT_EQ(Pack("--help").code, 0);
  Result r = Pack("list missing.zip");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "setuvane-pack list: missing.zip: no such file\n");
  archive::testing::WriteFile(temp.Path() / "junk.zip", ToBytes("no archive here"));
  r = Pack("test junk.zip");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "setuvane-pack test: junk.zip: Invalid file - not a PKZip file\n");
}

}  // namespace
}  // namespace setuvane::pack
