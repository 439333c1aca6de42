// From a manifest to the package's entries: the files each line brings, their
// stored names and destination texts, and every check with the line it names.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/archive/temp_folder.h"
#include "tests/tools/problem_text.h"
#include "tools/build/manifest.h"
#include "tools/build/package_checks.h"
#include "tools/build/source_files.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;

// Setup files every package needs, so that a test sees only its own problems.
const char kSetupFiles[] = "[setup]\ninstall.inf\nregistry.inf\nshortcut.inf\nlicense.inf\nreadme.inf\n";

class PackageSourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"registry.inf", "shortcut.inf", "license.inf", "readme.inf"}) Write(name, "");
    Write("install.inf", "PRODUCT_VERSION=1.0\r\nPRODUCT_ID=Notatnik\r\n");
  }
  void Write(const std::string& relative, const std::string& bytes) {
    const fs::path path = temp.Path() / PathFromText(relative);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // The entries of `manifest` (in "m.txt" of the folder) after the checks.
  std::vector<PackageFile> Build(const std::string& manifest, bool fromUtf8 = false) {
    problems = Problems();
    const std::vector<ManifestSource> sources = ParseManifest("m.txt", manifest, problems);
    std::vector<PackageFile> files = FindSourceFiles(sources, temp.Path(), "m.txt", problems);
    CheckPackage(files, "m.txt", fromUtf8, problems);
    return files;
  }
  // "stored name -> destination" of each entry.
  static std::vector<std::string> Entries(const std::vector<PackageFile>& files) {
    std::vector<std::string> entries;
    for (const PackageFile& f : files) entries.push_back(f.storedName + " -> " + f.destination);
    return entries;
  }
  // Problems with the temporary folder's path cut off the file names.
  std::vector<std::string> Reported() {
    std::vector<std::string> texts = ProblemTexts(problems);
    const std::string prefix = PathText(temp.Path().lexically_normal()) + "/";
    for (std::string& text : texts) {
      if (text.rfind(prefix, 0) == 0) text.erase(0, prefix.size());
    }
    return texts;
  }

  archive::testing::TempFolder temp;
  Problems problems;
};

TEST_F(PackageSourcesTest, FilesGlobsAndFoldersWithTheirDestinations) {
  for (const char* name : {"prod/bin/app.exe", "prod/data/a.txt", "prod/data/img/b.png", "plugins/p1/x.dll",
                           "plugins/p2/y.dll", "docs/a.txt", "docs/b.TXT", "docs/c.md"}) {
    Write(name, name);
  }
  const std::vector<PackageFile> files = Build(std::string(kSetupFiles) +
                                               "[<programfolder>]\nprod/bin/app.exe\n"
                                               "[<programfolder>Dane]\nprod/data\n"
                                               "[<programfolder>plugins\\]\nplugins/*\n"
                                               "[<programfolder>Doc]\ndocs/*.txt\n"
                                               "missing/*.x\n");
  EXPECT_EQ(Entries(files), (std::vector<std::string>{
                                "install.inf -> ", "registry.inf -> ", "shortcut.inf -> ", "license.inf -> ",
                                "readme.inf -> ", "prod/bin/app.exe -> <programfolder>",
                                "prod/data/a.txt -> <programfolder>Dane",
                                "prod/data/img/b.png -> <programfolder>Dane\\img",
                                "plugins/p1/x.dll -> <programfolder>plugins\\p1",
                                "plugins/p2/y.dll -> <programfolder>plugins\\p2", "docs/a.txt -> <programfolder>Doc",
                                "docs/b.TXT -> <programfolder>Doc",  // masks take letters in any case
                            }));
  EXPECT_EQ(Reported(), std::vector<std::string>{"m.txt:15: error: 'missing/*.x' matches no file"});
  EXPECT_EQ(files[5].size, 16u);
}

TEST_F(PackageSourcesTest, DestinationsAndNamesAreCheckedWithTheirLines) {
  for (const char* name : {"a/app.exe", "b/app.exe", "readme.inf", "c/readme.inf", "top.txt", "d/top.txt", "e/x.dll",
                           "f/x.dll"}) {
    Write(name, "x");
  }
  Build(std::string(kSetupFiles) +                     // lines 1-6
        "[<programfolder>]\na/app.exe\n"               // 7-8
        "[<PROGRAMFOLDER>\\]\nb/app.exe\n"             // 9-10: lands on a/app.exe
        "[<progamfolder>x]\nc/readme.inf\n"            // 11-12: misspelt macro
        "[Aplikacja]\ntop.txt\n[<windowsfolder>]\nd/top.txt\n"  // 13-16: no anchor; one name, two folders
        "[<desktopfolder>]\ne/x.dll\ne/x.dll\n"                    // 17-19: the same file twice
        "[<desktopfolder>y]\nf/x.dll\n[setup]\nc/readme.inf\n"    // 20-23: a second setup readme.inf
        "[<desktopfolder>z]\ne/x.dll\n");                          // 24-25: stored twice, two folders
  EXPECT_EQ(Reported(), (std::vector<std::string>{
                            "m.txt:11: error: unknown folder macro '<progamfolder>' in the destination",
                            "m.txt:13: warning: the destination 'Aplikacja' starts with no folder macro and no "
                            "drive; the installer takes it relative to the installation medium",
                            "m.txt:10: error: 'b/app.exe' installs to the same path as 'a/app.exe' (line 8): "
                            "<PROGRAMFOLDER>\\app.exe",
                            "m.txt:19: error: 'e/x.dll' installs to the same path as 'e/x.dll' (line 18): "
                            "<desktopfolder>x.dll",
                            "m.txt:23: error: setup file 'readme.inf' is unpacked over the one of (line 6)",
                            "m.txt:25: warning: 'e/x.dll' is in the package already (line 18); tools that extract "
                            "by name take only one of them",
                        }));
}

// The uninstaller and its record are written into the program folder: a product
// file of either name there would be overwritten or overwrite them.
TEST_F(PackageSourcesTest, TheUninstallersNamesInTheProgramFolderAreErrors) {
  Write("u/Uninstall.EXE", "x");
  Write("u/uninstall.dat", "x");
  Build(std::string(kSetupFiles) + "[<ProgramFolder>]\nu\n[<programfolder>dane]\nu\n");
  EXPECT_EQ(Reported(), (std::vector<std::string>{
                            "m.txt:8: error: 'u/Uninstall.EXE' would install over the uninstaller's uninstall.exe "
                            "in <programfolder>",
                            "m.txt:8: error: 'u/uninstall.dat' would install over the uninstaller's uninstall.dat "
                            "in <programfolder>",
                            "m.txt:10: warning: 'u/Uninstall.EXE' is in the package already (line 8); tools that "
                            "extract by name take only one of them",
                            "m.txt:10: warning: 'u/uninstall.dat' is in the package already (line 8); tools that "
                            "extract by name take only one of them",
                        }));
}

// Names that the installer would refuse (and Windows could not hold) stop the build:
// device names, also with an extension or as a subfolder, final dots and blanks,
// refused characters.
TEST_F(PackageSourcesTest, NamesWindowsCannotHoldAreErrors) {
#ifdef _WIN32
  GTEST_SKIP() << "no source file on Windows has such a name";
#endif
  for (const char* name : {"p/nul.txt", "p/Com1", "p/con/x.txt", "p/dot.", "p/a:b", "p/console.txt", "p/lpt0"}) {
    Write(name, "x");
  }
  Build(std::string(kSetupFiles) + "[<programfolder>]\np\n");
  EXPECT_EQ(Reported(), (std::vector<std::string>{
                            "m.txt:8: error: 'p/Com1': 'Com1' is a device name on Windows (CON, PRN, AUX, NUL, COM1 "
                            "to COM9, LPT1 to LPT9), also with an extension",
                            "m.txt:8: error: 'p/a:b': 'a:b' has a character that Windows file names cannot hold",
                            "m.txt:8: error: 'p/con/x.txt': 'con' is a device name on Windows (CON, PRN, AUX, NUL, "
                            "COM1 to COM9, LPT1 to LPT9), also with an extension",
                            "m.txt:8: error: 'p/dot.': 'dot.' ends in a dot or a blank, which Windows drops from names",
                            "m.txt:8: error: 'p/nul.txt': 'nul.txt' is a device name on Windows (CON, PRN, AUX, NUL, "
                            "COM1 to COM9, LPT1 to LPT9), also with an extension",
                        }));
}

TEST_F(PackageSourcesTest, SetupTextsAndSettingsAreChecked) {
  Write("install.inf",
        "INSTALL_TASK_TITLE= Demo\r\n"                 // 1: a blank the installer keeps
        "install_main_title=Demo\r\n"                  // 2: lower case
        "PRODUCT_LOCATON=<programsfolder>Demo\r\n"     // 3: misspelt
        "PRODUCT_LOCATION=<programfolder>Demo\r\n"     // 4: not a macro here
        "Witaj: to nie klucz\r\n"                      // 5: no key, no look-alike
        "PRODUCT_ID=Firma\\Notatnik\r\n"               // 6: a registry key name holds no backslash
        "PRODUCT_ID=  \r\n");                          // 7: an identity of nothing
  Write("registry.inf", "+hlm\\Software\\Demo\n-str:A=1\r\n");  // a lone line feed
  Write("shortcut.inf", "\r\n\r\n\x81\r\n");                   // an unassigned byte on line 3
  Write("license.inf", "Zaż\r\nółć\n");                         // UTF-8, and a lone line feed
  Write("readme.inf", "tekst\r\n\x1A" "dopisek\r\n");           // text after Ctrl-Z
  Build("[setup]\ninstall.inf\nregistry.inf\nshortcut.inf\nlicense.inf\nreadme.inf\n");
  EXPECT_EQ(Reported(), (std::vector<std::string>{
                            "install.inf:1: warning: the value of INSTALL_TASK_TITLE begins with a blank, which the "
                            "installer keeps as part of it",
                            "install.inf:2: warning: 'install_main_title' is not read: the installer takes keys "
                            "only in capitals (INSTALL_MAIN_TITLE)",
                            "install.inf:3: warning: 'PRODUCT_LOCATON' looks like the key PRODUCT_LOCATION "
                            "misspelt; the line is not read",
                            "install.inf:4: error: unknown folder macro '<programfolder>' in the program folder",
                            "install.inf:6: error: PRODUCT_ID holds a backslash, which the name of a registry key "
                            "cannot",
                            "install.inf:7: warning: the value of PRODUCT_ID begins with a blank, which the "
                            "installer keeps as part of it",
                            "install.inf:7: error: PRODUCT_ID is empty: give the product a lasting identity, such as "
                            "a GUID, or leave the line out",
                            "install.inf: warning: no PRODUCT_VERSION: the entry among the installed programs shows "
                            "no version, so deployment tools cannot tell whether it is up to date and offer the same "
                            "upgrade again",
                            "registry.inf:1: error: a line ends in a line feed alone; the installer ends lines only "
                            "at a carriage return (CR LF), so it reads this line and the next as one",
                            "shortcut.inf:3: error: the byte 0x81 is no Windows-1250 character",
                            "license.inf: warning: the text looks like UTF-8, but the installer reads Windows-1250 "
                            "(build with --from-utf8)",
                            "license.inf:2: warning: a line ends in a line feed alone; the installer ends lines "
                            "only at a carriage return (CR LF)",
                            "readme.inf:2: warning: the character 26 (Ctrl-Z) ends the file for the installer; the "
                            "text after it is never read",
                        }));
  EXPECT_EQ(Build("[setup]\ninstall.inf\n").size(), 1u);
  EXPECT_EQ(Reported().size(), 4u + 4 + 2 + 2);  // two missing scripts are errors, two missing texts warnings
}

// The entry's key and version are what deployment tools detect and upgrade by; a
// package without an entry has neither to give.
TEST_F(PackageSourcesTest, AMissingVersionOrIdentityIsWarnedOfWhenThereIsAnEntry) {
  Write("install.inf", "INSTALL_MAIN_TITLE=Notatnik 1.0\r\nPRODUCT_VERSION=\r\n");
  Build(kSetupFiles);
  EXPECT_EQ(Reported(), (std::vector<std::string>{
                            "install.inf: warning: no PRODUCT_VERSION: the entry among the installed programs shows "
                            "no version, so deployment tools cannot tell whether it is up to date and offer the same "
                            "upgrade again",
                            "install.inf: warning: no PRODUCT_ID: the entry's key is the title after the publisher, "
                            "so a new title (one naming a new version) makes another product, not an upgrade "
                            "deployment tools can detect",
                        }));
  Write("install.inf", "PRODUCT_UNINSTALL=NIE\r\n");
  Build(kSetupFiles);
  EXPECT_EQ(Reported(), std::vector<std::string>{});
}

TEST_F(PackageSourcesTest, ScriptsAreCheckedLineByLineWithEveryProblem) {
  Write("registry.inf",
        "-str:Przed=1\r\n"                     // 1: no key open yet
        "+hlm\r\n"                             // 2: the whole line is the path
        "+hlm\\Software\\Demo\r\n"             // 3
        "-int:Liczba=abc\r\n"                  // 4: no integer
        "-int:Hex=$7FFFFFFF\r\n"               // 5: fine
        "-int:Duzo=2147483648\r\n"             // 6: beyond 32 bits
        "-bln:Tak=tak\r\n"                     // 7: writes 0
        "-bln:Nie=Fa\xB3sz\r\n"                // 8: a false word, fine
        "-dwd:Inny=1\r\n"                      // 9: unknown type
        "-str:Sciezka=<progamfolder>x\r\n"     // 10: misspelt macro
        "; komentarz\r\n");                    // 11: skipped
  Write("shortcut.inf",
        "}\r\n"                                          // 1: no path at all
        "{<desktopfolder>Demo.lnk\r\n-dsc=Demo\r\n}\r\n"  // 2-4: no target yet
        "{Demo.lnk\r\n-lnk=<programfolder>demo.exe\r\n"   // 5-6: no folder
        "-xyz=1\r\n}\r\n}\r\n"                          // 7-9: unknown key; a second "}"
        "{<menustartfolder>Demo\\Demo.lnk\r\n}\r\n"        // 10-11: fine, the target carries over
        "{<windowsfolder>B.lnk\r\n"                      // 12: never closed before the next
        "{<foo>C.lnk\r\n");                              // 13: unknown macro, never closed
  Build(kSetupFiles);
  EXPECT_EQ(Reported(), (std::vector<std::string>{
                            "registry.inf:1: error: a value before any key line: the installer has no key to "
                            "write it to",
                            "registry.inf:2: warning: the key line has no '\\': the installer takes the whole "
                            "line '+hlm' for the key's path",
                            "registry.inf:4: error: 'abc' is not a valid integer value (decimal, or hexadecimal "
                            "after '$' or '0x', in 32 bits)",
                            "registry.inf:6: error: '2147483648' is not a valid integer value (decimal, or "
                            "hexadecimal after '$' or '0x', in 32 bits)",
                            "registry.inf:7: warning: 'tak' writes 0: only TRUE and PRAWDA (any letter case) "
                            "write 1",
                            "registry.inf:9: error: unknown value type 'dwd': the installer skips the line (types: "
                            "str, int, bln)",
                            "registry.inf:10: error: unknown folder macro '<progamfolder>' in the value",
                            "shortcut.inf:1: error: '}' before any '{': the shortcut has no path, and the "
                            "installer stops here",
                            "shortcut.inf:2: error: the shortcut has no target: no '-lnk' line so far gives one",
                            "shortcut.inf:7: warning: unknown key '-xyz': the line changes nothing (keys: cmd, "
                            "dsc, fld, icn, lnk)",
                            "shortcut.inf:5: error: the shortcut path 'Demo.lnk' names no folder: the installer "
                            "stops here",
                            "shortcut.inf:9: warning: '}' without its own '{': the shortcut of line 5 is written "
                            "again",
                            "shortcut.inf:12: warning: a '{' follows (line 13) before this block's '}': its "
                            "shortcut is never written",
                            "shortcut.inf:13: error: unknown folder macro '<foo>' in the shortcut path",
                            "shortcut.inf:13: warning: the block has no '}': its shortcut is never written",
                        }));
}

TEST_F(PackageSourcesTest, FromUtf8ConvertsSetupTextsAndNamesTheLinesItCannot) {
  Write("license.inf", "\xEF\xBB\xBFZażółć\r\ngęślą\r\n日本\r\njaźń\r\n");
  const std::vector<PackageFile> files = Build(kSetupFiles, true);
  EXPECT_EQ(Reported(), std::vector<std::string>{
                            "license.inf:3: error: the line is not UTF-8 or has characters without a Windows-1250 "
                            "form"});
  ASSERT_TRUE(files[3].content.has_value());
  EXPECT_EQ(*files[3].content, "Za\xBF\xF3\xB3\xE6\r\ng\xEA\x9Cl\xB9\r\n??\r\nja\x9F\xF1\r\n");
  EXPECT_EQ(files[3].size, files[3].content->size());
}

}  // namespace
}  // namespace setuvane::pack
