// setuvane-pack run as a program: exit codes, what goes to standard output and
// error, and the files it leaves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include <nlohmann/json.hpp>

#include "art/version_ids.h"
#include "tests/archive/temp_folder.h"
#include "tests/archive/zip_writer.h"
#include "tests/core/fake_program.h"
#include "pe/resource_tree.h"

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
  layout.entries.push_back({.name = "doc/readme.txt", .data = ToBytes("plain")});
  return layout;
}

// A name crafted to recolour a terminal; no name Windows can hold either.
const char kCraftedName[] = "doc/read\x1B[31mme.txt";

TEST_F(PackToolTest, ListShowsEveryEntryWithItsDestination) {
  ZipLayout crafted = Package();
  crafted.entries[2].name = kCraftedName;
  Write("p.zip", crafted);
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
  EXPECT_EQ(r.err, "doc/readme.txt: Failed CRC Check\n");

  // What the installer would refuse fails the test too, its name escaped.
  ZipLayout crafted = Package();
  crafted.entries[2].name = kCraftedName;
  Write("c.zip", crafted);
  r = Pack("test c.zip");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "doc/read\\x1B[31mme.txt: Cannot extract file - \"read\\x1B[31mme.txt\" has a character that "
                   "Windows does not allow in names (< > : \" | ? * or a control character)\n");
  EXPECT_EQ(Tree(""), (std::vector<std::string>{"c.zip", "d.zip", "p.zip", "stderr", "stdout"}));  // nothing written
}

TEST_F(PackToolTest, ExtractRestoresFoldersOrWritesFlat) {
  Write("p.zip", Package());
  Result r = Pack("extract -d out/new p.zip");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Tree("out"), (std::vector<std::string>{"new", "new/bin", "new/bin/app.exe", "new/doc",
                                                   "new/doc/readme.txt", "new/install.inf"}));
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
  EXPECT_EQ(r.err.find("error:"), std::string::npos) << r.err;  // it names no version or identity: warnings
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

// A single file made of a stand-in installer (tests/core/fake_program.h), read
// back by the tool, then signed: osslsigncode's own check passes and the package
// stays whole; a wrong password or a file that is no installer changes nothing.
TEST_F(PackToolTest, BuildMakesASingleFileAndSignSignsIt) {
  const std::vector<Resource> resources = {{{kRtRcData, {}}, {IDR_VERSION_ROOM, {}}, 1033, 0, Bytes(4096, 0)},
                                           {{kRtVersion, {}}, {1, {}}, 1033, 0, Bytes(300, 1)}};
  archive::testing::WriteFile(temp.Path() / "setuvane.exe",
                              fakes::FakeProgram({{".text", Bytes(300, 0xC3)}, fakes::PackageRecordSection(),
                                                  {".rsrc", WriteResources(resources, 0x3000)}}));
  Result r = Pack(std::string("build --installer setuvane.exe -o setup.exe ") + kSample);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("setup.exe: single-file installer, 9 entries (", 0), 0u) << r.out;
  EXPECT_EQ(Pack("test setup.exe").out, "no errors in 9 entries\n");
  r = Pack(std::string("build --installer ") + kSample + " -o other.exe " + kSample);
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("manifest.txt: not a Windows program"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(temp.Path() / "other.exe"));

  ASSERT_EQ(Run("openssl req -x509 -newkey rsa:2048 -nodes -keyout k.pem -out c.pem -days 2 -subj /CN=Test && "
                "openssl pkcs12 -export -inkey k.pem -in c.pem -out c.p12 -passout pass:tajne")
                .code,
            0);
  const std::string unsigned_ = archive::testing::ReadFile(temp.Path() / "setup.exe");
  r = Pack("sign --pkcs12 c.p12 --pass wrong setup.exe");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("setup.exe: osslsigncode failed"), std::string::npos) << r.err;
  EXPECT_EQ(archive::testing::ReadFile(temp.Path() / "setup.exe"), unsigned_);
  EXPECT_NE(Pack("sign --pkcs12 c.p12 c.pem").err.find("c.pem: not a Setuvane installer"), std::string::npos);

  // The password from a file or the environment; on the command line with a warning.
  EXPECT_NE(r.err.find("warning: --pass puts the password on the command line"), std::string::npos) << r.err;
  archive::testing::WriteFile(temp.Path() / "haslo.txt", ToBytes("tajne\r\n"));
  EXPECT_EQ(Pack("sign --pkcs12 c.p12 --pass-env SETUVANE_NO_SUCH_VARIABLE setup.exe").code, 2);
  EXPECT_EQ(Pack("sign --pkcs12 c.p12 --pass-file haslo.txt --pass tajne setup.exe").code, 2);
  r = Pack("sign --pkcs12 c.p12 --pass-file haslo.txt setup.exe");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Run("osslsigncode verify -in setup.exe -CAfile c.pem").code, 0);
  EXPECT_EQ(Pack("test setup.exe").out, "no errors in 9 entries\n");
  // The uninstaller it carries is signed too, and signing again replaces both.
  ASSERT_EQ(Run("SIGN_PASSWORD=tajne '" SETUVANE_PACK "' sign --pkcs12 c.p12 --pass-env SIGN_PASSWORD setup.exe").code, 0);
  const std::string signed_ = archive::testing::ReadFile(temp.Path() / "setup.exe");
  fakes::ProgramBytes single(std::vector<uint8_t>(signed_.begin(), signed_.end()));
  const std::optional<EmbeddedPackage> carried = ReadEmbeddedPackage(single);
  ASSERT_TRUE(carried && carried->uninstaller);
  EXPECT_EQ(CheckEmbeddedPackage(single, *carried), PackageIntegrity::kIntact);
  archive::testing::WriteFile(temp.Path() / "u.exe", *UninstallerOfSingleFile(single));
  EXPECT_EQ(Run("osslsigncode verify -in u.exe -CAfile c.pem").code, 0);
  EXPECT_EQ(ReadEmbeddedPackage(*std::make_unique<fakes::ProgramBytes>(*BareInstallerOfSingleFile(single))), std::nullopt);

  // A package whose checksum does not match, which the installer refuses with 2,
  // fails the test though every entry is right.
  std::string damaged = signed_;
  damaged[damaged.find(std::string("Setuvane package\x01\0\0\0", 20)) + 40] ^= 1;
  archive::testing::WriteFile(temp.Path() / "u.exe", std::vector<uint8_t>(damaged.begin(), damaged.end()));
  r = Pack("test u.exe");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("u.exe: the package inside is damaged"), std::string::npos) << r.err;
  fs::remove(temp.Path() / "u.exe");
  fs::remove(temp.Path() / "haslo.txt");
  EXPECT_EQ(Tree("."), std::vector<std::string>({"c.p12", "c.pem", "k.pem", "setup.exe", "setuvane.exe", "stderr",
                                                 "stdout"}));
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
  EXPECT_NE(r.err.find("0 error(s), 4 warning(s) (--strict); nothing written"), std::string::npos) << r.err;
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

// The winget manifest of a single file: valid by winget's own schemas, its
// installer the file itself, its ProductCode the entry's key the plan shows, the
// elevation that the program's manifest asks for; what winget would refuse is
// refused with every reason, and nothing is written.
TEST_F(PackToolTest, WingetWritesTheManifestOfASingleFileAndRefusesWhatWingetWould) {
  const std::string asks = "<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>";
  const std::vector<Resource> resources = {{{kRtRcData, {}}, {IDR_VERSION_ROOM, {}}, 1033, 0, Bytes(4096, 0)},
                                           {{kRtManifest, {}}, {1, {}}, 1033, 0, ToBytes(asks)}};
  archive::testing::WriteFile(temp.Path() / "setuvane.exe",
                              fakes::FakeProgram({{".text", Bytes(300, 0xC3)}, fakes::PackageRecordSection(),
                                                  {".rsrc", WriteResources(resources, 0x3000)}}));
  const fs::path sample = fs::path(kSample).parent_path();
  fs::copy(sample, temp.Path() / "src", fs::copy_options::recursive);
  const auto build = [&](const std::string& settings) {
    archive::testing::WriteFile(temp.Path() / "src/install.inf",
                                ToBytes(archive::testing::ReadFile(sample / "install.inf") + settings));
    return Pack("build --installer setuvane.exe -o setup.exe src/manifest.txt").code;
  };
  ASSERT_EQ(build("PRODUCT_VERSION=2.1.7\r\nPRODUCT_PUBLISHER=Firma\r\n"), 0);
  Result r = Pack("winget setup.exe --id Firma.Przyklad --url https://firma.example/setup.exe -o wg");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "wg/Firma.Przyklad.yaml\nwg/Firma.Przyklad.installer.yaml\nwg/Firma.Przyklad.locale.pl-PL.yaml\n");
  const fs::path schemas = SETUVANE_SOURCE "/../shared/winget-schemas/1.28.0";
  if (!fs::exists(schemas)) GTEST_SKIP() << "winget's schemas are not at " << schemas;
  r = Run("/usr/bin/python3 '" SETUVANE_SOURCE "/tests/tools/winget_manifests.py' wg '" + schemas.string() +
          "' setup.exe");
  ASSERT_EQ(r.code, 0) << r.err;
  const nlohmann::json installer = nlohmann::json::parse(r.out);
  const nlohmann::json plan = nlohmann::json::parse(Pack("plan --json setup.exe").out);
  EXPECT_EQ(installer["ProductCode"], plan["uninstallEntry"]["keyName"]);
  EXPECT_EQ(installer["ProductCode"], "Firma Instalator przykładowej aplikacji");
  EXPECT_EQ(installer["ElevationRequirement"], "elevatesSelf");
  EXPECT_EQ(installer["InstallerSwitches"]["InstallLocation"], "/DIR=\"<INSTALLPATH>\"");

  r = Pack("winget setup.exe --id Firma --url ftp://firma.example/setup.exe --license ab -o bad");
  EXPECT_EQ(r.code, 1);
  for (const char* reason : {"--id Firma: winget takes an identifier of 2 to 8 parts", "--url ftp://",
                             "--license \"ab\": winget takes 3 to 512 characters, not 2",
                             "3 refusal(s); nothing written"}) {
    EXPECT_NE(r.err.find(reason), std::string::npos) << reason << r.err;
  }
  ASSERT_EQ(build("PRODUCT_UNINSTALL=NIE\r\n"), 0);
  r = Pack("winget setup.exe --id Firma.Przyklad --url https://firma.example/setup.exe -o bad");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("names no PRODUCT_VERSION"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("turns the entry among the installed programs off"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("names no PRODUCT_PUBLISHER"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(temp.Path() / "bad"));
  // A folder medium's package is no file to download.
  ASSERT_EQ(Pack("build -o p.zip src/manifest.txt").code, 0);
  EXPECT_EQ(Pack("winget p.zip --id Firma.Przyklad --url https://firma.example/setup.exe -o bad").code, 2);
}

// Components a single file carries: "[setup supaxdo]" stores them below their
// folder's name; its plan runs them from the setup folder, not from the medium; a
// folder medium's package refuses them.
TEST_F(PackToolTest, ASingleFileCarriesItsComponentsAndItsPlanShowsThem) {
  const std::vector<Resource> resources = {{{kRtRcData, {}}, {IDR_VERSION_ROOM, {}}, 1033, 0, Bytes(4096, 0)}};
  archive::testing::WriteFile(temp.Path() / "setuvane.exe",
                              fakes::FakeProgram({{".text", Bytes(300, 0xC3)}, fakes::PackageRecordSection(),
                                                  {".rsrc", WriteResources(resources, 0x3000)}}));
  fs::create_directories(temp.Path() / "skladniki/data");
  archive::testing::WriteFile(temp.Path() / "skladniki/setup.exe", ToBytes("x"));
  archive::testing::WriteFile(temp.Path() / "skladniki/data/install.inf", ToBytes("nie nasz"));
  std::string manifest = archive::testing::ReadFile(kSample);
  manifest += "[setup SupAxdo]\n" + (temp.Path() / "skladniki").string() + "\n[setup supnone]\n";
  archive::testing::WriteFile(temp.Path() / "m.txt", ToBytes(manifest));
  const std::string sample = fs::path(kSample).parent_path().string();
  for (const char* name : {"install.inf", "license.inf", "readme.inf", "registry.inf", "shortcut.inf"})
    fs::copy_file(sample + "/" + name, temp.Path() / name);
  fs::copy(sample + "/product", temp.Path() / "product", fs::copy_options::recursive);
  Result r = Pack("build --installer setuvane.exe -o setup.exe m.txt");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("'supnone' is no component folder"), std::string::npos) << r.err;
  manifest.resize(manifest.size() - std::string("[setup supnone]\n").size());
  archive::testing::WriteFile(temp.Path() / "m.txt", ToBytes(manifest));
  r = Pack("build -o p.zip m.txt");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("components travel only in a single file"), std::string::npos) << r.err;
  r = Pack("build --installer setuvane.exe -o setup.exe m.txt");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(Pack("list setup.exe").out.find("SupAxdo/data/install.inf"), std::string::npos);
  fs::create_directories(temp.Path() / "supajet");
  archive::testing::WriteFile(temp.Path() / "supajet/setup.exe", ToBytes("obcy"));
  r = Pack("plan setup.exe");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"C:\\WINDOWS\\TEMP\\supaxdo\\setup.exe\" /QT"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("supajet"), std::string::npos) << "nothing beside the single file runs";
  EXPECT_NE(r.out.find("Przyk"), std::string::npos) << "the product's own install.inf, not the component's";
}

// Solid single files read back by list, test, extract (on two threads and on one)
// and plan: an empty file, many small alike ones, one larger than the stream's
// dictionary, a Polish name, and a package of one product file. One cut short or
// with a changed byte is refused with exit code 2 before anything is written.
TEST_F(PackToolTest, SolidSingleFilesRoundTripAndDamagedOnesAreRefused) {
  const std::vector<Resource> resources = {{{kRtRcData, {}}, {IDR_VERSION_ROOM, {}}, 1033, 0, Bytes(4096, 0)}};
  archive::testing::WriteFile(temp.Path() / "setuvane.exe",
                              fakes::FakeProgram({{".text", Bytes(300, 0xC3)}, fakes::PackageRecordSection(),
                                                  {".rsrc", WriteResources(resources, 0x3000)}}));
  const std::string sample = fs::path(kSample).parent_path().string();
  fs::create_directories(temp.Path() / "p/wiele");
  for (const char* name : {"install.inf", "license.inf", "readme.inf", "registry.inf", "shortcut.inf"})
    fs::copy_file(sample + "/" + name, temp.Path() / "p" / name);
  std::map<std::string, std::vector<uint8_t>> product = {
      {"pusty.txt", {}}, {"pusty2.txt", {}}, {"zażółć.txt", ToBytes("gęślą jaźń")}};
  std::string large;
  for (int i = 0; large.size() < 9'000'000; ++i) large += "linia " + std::to_string(i) + "\r\n";
  product["duzy.bin"] = ToBytes(large);
  // x86 code that is no Windows program goes behind the x86 filter too: an ELF
  // library for x86-64 and a static library.
  std::vector<uint8_t> elf(600, 0xE8);
  const uint8_t elfHead[20] = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 62, 0};
  std::copy(std::begin(elfHead), std::end(elfHead), elf.begin());
  product["modul.so"] = elf;
  product["biblioteka.a"] = ToBytes("!<arch>\n" + large.substr(0, 5000));
  for (int i = 0; i < 300; ++i)
    product["wiele/" + std::to_string(i) + ".txt"] = ToBytes("wiersz " + std::to_string(i % 7) + "\r\n");
  for (const auto& [name, bytes] : product) archive::testing::WriteFile(temp.Path() / "p" / name, bytes);
  const std::string setup = "[setup]\np/*.inf\n";
  archive::testing::WriteFile(temp.Path() / "m.txt",
                              ToBytes(setup + "[<programfolder>]\np/pusty.txt\np/pusty2.txt\np/zażółć.txt\np/duzy.bin\n"
                                              "p/modul.so\np/biblioteka.a\n"
                                              "[<programfolder>Wiele]\np/wiele\n"));
  Result r = Pack("build --solid --installer setuvane.exe -o setup.exe m.txt");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "setup.exe: single-file installer, 311 entries in one stream (2 behind the x86 filter), " +
                       std::to_string(fs::file_size(temp.Path() / "setup.exe")) + " bytes\n");
  EXPECT_LT(fs::file_size(temp.Path() / "setup.exe"), 1'000'000u);
  EXPECT_EQ(Pack("test setup.exe").out, "no errors in 311 entries\n");
  const std::string listed = Pack("list setup.exe").out;
  EXPECT_NE(listed.find(" xz "), std::string::npos) << listed;
  EXPECT_NE(listed.find("00000000  p/pusty.txt -> <programfolder>"), std::string::npos) << listed;
  EXPECT_EQ(Pack("plan setup.exe").code, 0);
  for (const char* threads : {"1", "0"}) {
    r = Run(std::string("SETUVANE_DECODE_AHEAD=") + threads + " '" SETUVANE_PACK "' extract -d x" + threads +
            " setup.exe");
    ASSERT_EQ(r.code, 0) << r.err;
    for (const auto& [name, bytes] : product)
      EXPECT_EQ(archive::testing::ReadFile(temp.Path() / ("x" + std::string(threads)) / "p" / name),
                std::string(bytes.begin(), bytes.end()))
          << name;
  }
  archive::testing::WriteFile(temp.Path() / "m.txt", ToBytes(setup + "[<programfolder>]\np/zażółć.txt\n"));
  ASSERT_EQ(Pack("build --solid --installer setuvane.exe -o one.exe m.txt").code, 0);
  EXPECT_EQ(Pack("test one.exe").out, "no errors in 6 entries\n");

  // Cut short, and a byte changed in the middle of the stream.
  const std::string whole = archive::testing::ReadFile(temp.Path() / "setup.exe");
  std::string changed = whole;
  changed[whole.size() / 2] ^= 1;
  archive::testing::WriteFile(temp.Path() / "cut.exe", ToBytes(whole.substr(0, whole.size() - 5000)));
  archive::testing::WriteFile(temp.Path() / "changed.exe", ToBytes(changed));
  for (const char* copy : {"cut", "changed"}) {
    r = Pack(std::string("extract -d bad ") + copy + ".exe");
    EXPECT_EQ(r.code, 2) << copy;
    EXPECT_NE(r.err.find("damaged"), std::string::npos) << r.err;
    EXPECT_EQ(Pack(std::string("test ") + copy + ".exe").code, 2);
    EXPECT_EQ(Tree("bad"), std::vector<std::string>()) << copy;
  }
  // A solid package is a single file, and not encrypted.
  EXPECT_EQ(Pack("build --solid -o p.zip m.txt").code, 2);
  EXPECT_EQ(Pack("build --solid --password x --installer setuvane.exe -o two.exe m.txt").code, 2);
  EXPECT_FALSE(fs::exists(temp.Path() / "p.zip") || fs::exists(temp.Path() / "two.exe"));
}

// A plan of the sample package on a medium with two component folders: the steps
// in order, folders of the standard machine, nothing written anywhere.
TEST_F(PackToolTest, PlanShowsWhatAnInstallationWouldDo) {
  ASSERT_EQ(Pack(std::string("build -o p.zip ") + kSample).code, 0);
  for (const char* name : {"medium/supagnt/agent.exe", "medium/supdcom/setup.exe"}) {
    fs::create_directories((temp.Path() / name).parent_path());
    archive::testing::WriteFile(temp.Path() / name, {});
  }
  Result r = Pack("plan --medium medium p.zip");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "Machine (--windows-version, --folder NAME=PATH):\n"
            "  version     4.10.2222\n"
            "  Windows     C:\\WINDOWS\n"
            "  System      C:\\WINDOWS\\SYSTEM\n"
            "  Temp        C:\\WINDOWS\\TEMP\n"
            "  Source      D:\\ (the medium: medium)\n"
            "  Desktop     C:\\WINDOWS\\Profiles\\User\\Desktop\n"
            "  Favorites   C:\\WINDOWS\\Profiles\\User\\Favorites\n"
            "  Start Menu  C:\\WINDOWS\\Profiles\\User\\Start Menu\n"
            "  Recent      C:\\WINDOWS\\Profiles\\User\\Recent\n"
            "  SendTo      C:\\WINDOWS\\Profiles\\User\\SendTo\n"
            "  AppData     C:\\WINDOWS\\Profiles\\User\\Application Data\n"
            "Program folder: C:\\Program Files\\Przykład\\\n"
            "\n"
            "Product files:\n"
            "  product/przyklad.exe -> C:\\Program Files\\Przykład\\przyklad.exe\n"
            "  product/ustawienia.inf -> C:\\Program Files\\Przykład\\ustawienia.inf (asks before replacing an "
            "existing file)\n"
            "  product/data/img/logo.png -> C:\\Program Files\\Przykład\\Dane\\img\\logo.png\n"
            "  product/data/liczby.txt -> C:\\Program Files\\Przykład\\Dane\\liczby.txt\n"
            "\n"
            "System components:\n"  // supdcom only on version 4.0
            "  \"D:\\supagnt\\agent.exe\" /Q:A  [Instalowanie czarodzieja systemowego...]\n"
            "\n"
            "Registry:\n"
            "  key   HKEY_CURRENT_USER\\Software\\Przyklad\n"
            "  value HKEY_CURRENT_USER\\Software\\Przyklad \"Wersja\" = REG_SZ \"1.0\"\n"
            "  value HKEY_CURRENT_USER\\Software\\Przyklad \"Katalog\" = REG_SZ \"C:\\Program Files\\Przykład\\\"\n"
            "  value HKEY_CURRENT_USER\\Software\\Przyklad \"Uruchomienia\" = REG_DWORD 0x00000010 (16)\n"
            "  value HKEY_CURRENT_USER\\Software\\Przyklad \"Aktywny\" = REG_DWORD 0x00000001 (1)\n"
            "\n"
            "Shortcuts:\n"
            "  C:\\WINDOWS\\Profiles\\User\\Desktop\\Przykład.lnk -> C:\\Program Files\\Przykład\\przyklad.exe\n"
            "    working folder: C:\\Program Files\\Przykład\\\n"
            "  C:\\WINDOWS\\Profiles\\User\\Start Menu\\Programy\\Przykład.lnk -> C:\\Program "
            "Files\\Przykład\\przyklad.exe\n"
            "    arguments: /start\n"
            "    description: Przykładowa aplikacja\n"
            "    working folder: C:\\Program Files\\Przykład\\\n"
            "\n"
            "Uninstall entry: HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
            "Instalator przykładowej aplikacji\n"
            "  key (the product's code for deployment tools): Instalator przykładowej aplikacji\n"
            "  DisplayName = REG_SZ \"Instalator przykładowej aplikacji\"\n"
            "  UninstallString = REG_SZ \"\"C:\\Program Files\\Przykład\\uninstall.exe\" /UNINSTALL\"\n"
            "  QuietUninstallString = REG_SZ \"\"C:\\Program Files\\Przykład\\uninstall.exe\" /UNINSTALL "
            "/VERYSILENT\"\n"
            "  InstallLocation = REG_SZ \"C:\\Program Files\\Przykład\\\"\n"
            "  DisplayIcon = REG_SZ \"C:\\Program Files\\Przykład\\uninstall.exe\"\n"
            "  EstimatedSize = REG_DWORD (the kilobytes installed)\n"
            "  InstallDate = REG_SZ (the day of the installation, YYYYMMDD)\n"
            "  NoModify = REG_DWORD 1\n"
            "  NoRepair = REG_DWORD 1\n");

  // The medium defaults to the archive's folder; folders, version and program
  // folder as given.
  ASSERT_EQ(Run("mv p.zip medium/").code, 0);
  r = Pack("plan --json --folder Desktop=E:\\\\Pulpit --folder 'start menu=E:\\Menu' --windows-version 4.0.950 "
           "--program-folder ' D:\\Gry\\Przykład ' medium/p.zip");
  EXPECT_EQ(r.code, 0) << r.err;
  const nlohmann::json plan = nlohmann::json::parse(r.out);
  EXPECT_EQ(plan["programFolder"], "D:\\Gry\\Przykład\\");
  EXPECT_EQ(plan["files"][1], (nlohmann::json{{"name", "product/ustawienia.inf"},
                                              {"folder", "D:\\Gry\\Przykład\\"},
                                              {"path", "D:\\Gry\\Przykład\\ustawienia.inf"},
                                              {"asksBeforeReplacing", true}}));
  EXPECT_EQ(plan["components"], (nlohmann::json{
                                    {{"commandLine", "\"D:\\supdcom\\install.exe\" /q"},
                                     {"status", "Instalowanie uaktualnień środowiska..."}},
                                    {{"commandLine", "\"D:\\supagnt\\agent.exe\" /Q:A"},
                                     {"status", "Instalowanie czarodzieja systemowego..."}},
                                }));
  EXPECT_EQ(plan["registry"][3],
            (nlohmann::json{{"key", "HKEY_CURRENT_USER\\Software\\Przyklad"}, {"value", "Uruchomienia"},
                            {"type", "REG_DWORD"}, {"data", 16}}));
  EXPECT_EQ(plan["shortcuts"][0]["file"], "E:\\Pulpit\\Przykład.lnk");
  // What the second block does not set it keeps: the target and the working folder.
  EXPECT_EQ(plan["shortcuts"][1], (nlohmann::json{{"file", "E:\\Menu\\Programy\\Przykład.lnk"},
                                                  {"target", "D:\\Gry\\Przykład\\przyklad.exe"},
                                                  {"arguments", "/start"},
                                                  {"description", "Przykładowa aplikacja"},
                                                  {"workingFolder", "D:\\Gry\\Przykład\\"},
                                                  {"iconFile", ""},
                                                  {"iconIndex", 0}}));
  EXPECT_EQ(plan["problems"], nlohmann::json::array());
  EXPECT_EQ(plan["stoppedAt"], nullptr);
  EXPECT_EQ(plan["uninstallEntry"]["values"]["InstallLocation"], "D:\\Gry\\Przykład\\");
  EXPECT_EQ(plan["uninstallEntry"]["keyName"], "Instalator przykładowej aplikacji");
  EXPECT_EQ(Tree(""), (std::vector<std::string>{"medium", "medium/p.zip", "medium/supagnt", "medium/supagnt/agent.exe",
                                                "medium/supdcom", "medium/supdcom/setup.exe", "stderr", "stdout"}));
}

// Problems are shown where the installer would report them; a failure that ends
// the installation ends the plan.
TEST_F(PackToolTest, PlanShowsProblemsWhereTheyAriseAndWhereItStops) {
  const auto setupFile = [](const char* name, const std::string& text) {
    return archive::testing::ZipEntryLayout{.name = name, .data = ToBytes(text), .password = "tarnwick"};
  };
  ZipLayout layout;
  layout.entries.push_back(setupFile("install.inf", "PRODUCT_LOCATION=C:\\Apka\r\n"));
  layout.entries.push_back(setupFile("registry.inf", "-str:Przed=1\r\n+hlm\\Software\\A\r\n-int:N=abc\r\n-int:M=5\r\n"));
  layout.entries.push_back(setupFile("shortcut.inf", "}\r\n"));
  Write("p.zip", layout);
  Result r = Pack("plan p.zip");
  EXPECT_EQ(r.code, 1);
  const size_t registry = r.out.find("Registry:\n");
  ASSERT_NE(registry, std::string::npos) << r.out;
  EXPECT_EQ(r.out.substr(registry),
            "Registry:\n"
            "  problem: Utworzenie wartości rejestru jest niemożliwe. Podczas tworzenia wartości \"Przed\"=\"1\" typu "
            "\"str\" wystąpił problem: \"Failed to set data for 'Przed'\" (Dostęp do rejestru systemowego został "
            "odwołany.)\n"
            "  key   HKEY_LOCAL_MACHINE\\Software\\A\n"
            "  problem: Utworzenie wartości rejestru jest niemożliwe. Podczas tworzenia wartości \"N\"=\"abc\" typu "
            "\"int\" wystąpił problem: \"'abc' is not a valid integer value\" (Dostęp do rejestru systemowego "
            "został odwołany.)\n"
            "  value HKEY_LOCAL_MACHINE\\Software\\A \"M\" = REG_DWORD 0x00000005 (5)\n"
            "\n"
            "Shortcuts: none\n"
            "  the installation stops: Unable to create directory\n");
  const nlohmann::json plan = nlohmann::json::parse(Pack("plan --json p.zip").out);
  ASSERT_EQ(plan["problems"].size(), 3u);
  EXPECT_EQ(plan["problems"][2], (nlohmann::json{{"step", "shortcuts"}, {"title", ""},
                                                 {"message", "Unable to create directory"}, {"hint", ""},
                                                 {"details", ""}, {"stops", true}}));
  EXPECT_EQ(plan["stoppedAt"], "shortcuts");

  // Without install.inf the installer ends at start-up, before any step.
  layout.entries.erase(layout.entries.begin());
  Write("q.zip", layout);
  r = Pack("plan q.zip");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("Program folder: \n  the installation stops: Nieprawidłowy źródłowy rejestr instalacji. "
                       "Odczytanie rejestru instalacji C:\\WINDOWS\\TEMP\\install.inf jest niemożliwe. "
                       "(File not found)\n"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("Product files"), std::string::npos);

  // Setup files that do not decode: the package cannot be read.
  r = Pack("plan -P inne p.zip");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("setuvane-pack plan: the setup files cannot be unpacked"), std::string::npos) << r.err;
  EXPECT_EQ(Pack("plan --folder Nowhere=C:\\\\X p.zip").code, 2);
  EXPECT_EQ(Pack("plan --windows-version 4 p.zip").code, 2);
}

TEST_F(PackToolTest, UsageErrorsAndHelp) {
  for (const char* command : {"list", "test", "extract", "build", "plan"}) {
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
