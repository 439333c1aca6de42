#include "system/registry_script.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/cp1250.h"
#include "system/install_journal.h"
#include "system/registry_lines.h"
#include "system/setup_text.h"
#include "system/shell_folders.h"
#include "system/uninstall_items.h"
#include "tests/system/fake_machine.h"
#include "tests/system/fake_registry.h"

namespace setuvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kHkcu[] = "HKEY_CURRENT_USER";
constexpr char kHklm[] = "HKEY_LOCAL_MACHINE";

TEST(RegistryLines, KindsAndRootCodes) {
  EXPECT_EQ(RegistryLineKindOf("+hlm\\A"), RegistryLineKind::kKey);
  EXPECT_EQ(RegistryLineKindOf("-str:A=1"), RegistryLineKind::kValue);
  for (const char* ignored : {"", " +hlm\\A", ";-str:A=1", "#", "hlm\\A"}) {
    EXPECT_EQ(RegistryLineKindOf(ignored), RegistryLineKind::kIgnored) << ignored;
  }
  EXPECT_EQ(RegistryRootOf("hcr"), kHkeyClassesRoot);
  EXPECT_EQ(RegistryRootOf("HLM"), kHkeyLocalMachine);
  EXPECT_EQ(RegistryRootOf("hUs"), kHkeyUsers);
  EXPECT_EQ(RegistryRootOf("hcc"), kHkeyCurrentConfig);
  for (const char* user : {"hcu", "xyz", "", "hl", "hlm "}) EXPECT_EQ(RegistryRootOf(user), kHkeyCurrentUser) << user;
}

TEST(RegistryLines, KeyAndValueLayout) {
  RegistryKeyLine key = ParseRegistryKeyLine("+HLM\\Software\\Firma");
  EXPECT_EQ(key.root, kHkeyLocalMachine);
  EXPECT_EQ(key.path, "Software\\Firma");
  EXPECT_EQ(ParseRegistryKeyLine("+hlm").path, "+hlm");  // no "\": the whole line
  EXPECT_EQ(ParseRegistryKeyLine("+hlm\\\\Software").path, "\\Software");
  EXPECT_EQ(ParseRegistryKeyLine("+h\\A").root, kHkeyCurrentUser);
  const std::string longPath(300, 'k');
  EXPECT_EQ(ParseRegistryKeyLine("+hcu\\" + longPath).path, longPath);  // taken whole

  RegistryValueLine value = ParseRegistryValueLine("-STR:Wersja=1.0=b");
  EXPECT_EQ(value.typeCode, "str");
  EXPECT_EQ(value.type, RegistryValueType::kString);
  EXPECT_EQ(value.name, "Wersja");
  EXPECT_EQ(value.value, "1.0=b");
  EXPECT_EQ(ParseRegistryValueLine("-int Licznik=5").name, "Licznik");  // position 5 is not read
  EXPECT_EQ(ParseRegistryValueLine("-bln:").type, RegistryValueType::kBoolean);
  EXPECT_EQ(ParseRegistryValueLine("-dwd:X=1").type, RegistryValueType::kOther);
  // "=" at position 6 or earlier, or no "=" at all: the default value.
  EXPECT_EQ(ParseRegistryValueLine("-str:=x").name, "");
  EXPECT_EQ(ParseRegistryValueLine("-s=abc").name, "");
  value = ParseRegistryValueLine("-str:<programfolder>Aplikacja.exe");
  EXPECT_EQ(value.name, "");
  EXPECT_EQ(value.value, "<programfolder>Aplikacja.exe");
  EXPECT_EQ(ParseRegistryValueLine("-str").value, "");
  EXPECT_EQ(ParseRegistryValueLine("-str:" + std::string(300, 'n') + "=1").name, std::string(300, 'n'));
}

TEST(RegistryLines, IntegerRules) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"5", 5},
      {"  -17", -17},
      {"+42", 42},
      {"007", 7},
      {"$1F", 31},
      {"$ff", 255},
      {"0x10", 16},
      {"0XAbC", 0xABC},
      {"-$10", -16},
      {"-0x80000000", INT32_MIN},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"$7FFFFFFF", INT32_MAX},
      {"2147483648", std::nullopt},   // past the signed range
      {"$80000000", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"abc", std::nullopt},
      {"5 ", std::nullopt},  // nothing may follow
      {"5x", std::nullopt},
      {"\t5", std::nullopt},  // only blanks lead
      {"- 5", std::nullopt},
      {"+", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"$-5", std::nullopt},
      {"1.5", std::nullopt},
      {"12g", std::nullopt},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseRegistryInteger(text), expected) << "'" << text << "'";
  EXPECT_EQ(NotAnIntegerText("abc"), "'abc' is not a valid integer value");
}

class RegistryScriptTest : public ::testing::Test {
 protected:
  RegistryScriptTest() {
    machine.SetShellFolder("Desktop", "C:\\WINDOWS\\Pulpit");
    SetJournalSink([this](const std::string& line) { journal.push_back(line); });
  }
  ~RegistryScriptTest() override { SetJournalSink({}); }

  void Run(std::initializer_list<std::string> lines) {
    std::string content;
    for (const std::string& line : lines) content += Cp1250(line) + "\r\n";
    machine.fileContents["C:\\WINDOWS\\TEMP\\registry.inf"] = content;
    EXPECT_TRUE(RunRegistryScript(GetTempFolder(), "C:\\Aplikacja\\", [this](const Problem& problem) { problems.push_back(problem); }));
    EXPECT_THAT(registry.openHandles, IsEmpty()) << "every key is closed at the end";
  }

  std::vector<std::string> Hints() const {
    std::vector<std::string> hints;
    for (const Problem& problem : problems) hints.push_back(problem.hint);
    return hints;
  }

  fakes::FakeMachine machine;
  fakes::FakeRegistry registry;
  ScopedMachine scopedMachine{machine};
  ScopedRegistry scopedRegistry{registry};
  std::vector<Problem> problems;
  std::vector<std::string> journal;
};

TEST_F(RegistryScriptTest, WritesKeysAndValuesOfEachType) {
  Run({"+hlm\\Software\\Firma\\Aplikacja", "-str:Wersja=1.0", "-int:Licznik=5", "-bln:Aktywny=prawda",
       "-bln:Nieaktywny=tak", "-int:Ujemny=-$10", "-str:<programfolder>Aplikacja.exe",
       "-str:Sciezka=<programfolder>\\bin", "-str:Pulpit=<DesktopFolder>App.lnk", "-dwd:X=1", "; komentarz",
       " -str:Pominięty=1"});
  const std::string key = std::string(kHklm) + "\\Software\\Firma\\Aplikacja";
  EXPECT_EQ(registry.Text(key, "Wersja"), "1.0");
  EXPECT_EQ(registry.values[key]["Wersja"].data, std::string("1.0\0", 4));  // with its NUL
  EXPECT_EQ(registry.Dword(key, "Licznik"), 5u);
  EXPECT_EQ(registry.Dword(key, "Aktywny"), 1u);
  EXPECT_EQ(registry.Dword(key, "Nieaktywny"), 0u);
  EXPECT_EQ(registry.Dword(key, "Ujemny"), 0xFFFFFFF0u);
  EXPECT_EQ(registry.Text(key, ""), "C:\\Aplikacja\\Aplikacja.exe");
  EXPECT_EQ(registry.Text(key, "Sciezka"), "C:\\Aplikacja\\bin");
  EXPECT_EQ(registry.Text(key, "Pulpit"), "C:\\WINDOWS\\Pulpit\\App.lnk");
  EXPECT_EQ(registry.values[key].count("X"), 0u);  // an unknown type writes nothing
  EXPECT_EQ(registry.values[key].size(), 8u);
  EXPECT_THAT(problems, IsEmpty());
  EXPECT_EQ(journal.at(0), "registry key: HKEY_LOCAL_MACHINE\\Software\\Firma\\Aplikacja");
  EXPECT_EQ(journal.at(1), "registry value: HKEY_LOCAL_MACHINE\\Software\\Firma\\Aplikacja \"Wersja\" REG_SZ \"1.0\"");
  EXPECT_EQ(journal.at(5), "registry value: HKEY_LOCAL_MACHINE\\Software\\Firma\\Aplikacja \"Ujemny\" REG_DWORD -16");
}

TEST_F(RegistryScriptTest, CurrentUserKeysNestBeneathTheOpenCurrentUserKey) {
  Run({"+hcu\\Software\\A", "+xyz\\Software\\B", "-str:V=1",
       "+hlm\\Software\\A", "+HLM\\Software\\B", "-str:V=2",
       "+hcu\\Software\\C", "-str:V=3"});
  EXPECT_THAT(registry.calls, ::testing::Contains("CreateKey HKEY_CURRENT_USER\\Software\\A\\Software\\B"));
  EXPECT_EQ(registry.Text(std::string(kHkcu) + "\\Software\\A\\Software\\B", "V"), "1");
  EXPECT_EQ(registry.Text(std::string(kHklm) + "\\Software\\B", "V"), "2");  // not nested
  // After a key of another root, HKEY_CURRENT_USER starts from its root again.
  EXPECT_EQ(registry.Text(std::string(kHkcu) + "\\Software\\C", "V"), "3");
}

TEST_F(RegistryScriptTest, OpeningBeneathTheRootTheOpenKeyOrTheKeyItself) {
  Run({"+hlm", "-str:A=1",                     // no "\": a key named by the whole line
       "+hcu\\Software\\A", "+hcu\\\\Software\\B",  // a path beginning with "\" starts at the root
       "+hcu\\", "-str:B=2"});                   // an empty path opens the open key again
  EXPECT_EQ(registry.Text(std::string(kHklm) + "\\+hlm", "A"), "1");
  EXPECT_THAT(registry.calls, ::testing::Contains("CreateKey HKEY_CURRENT_USER\\Software\\B"));
  EXPECT_THAT(registry.calls, ::testing::Contains("OpenKey HKEY_CURRENT_USER\\Software\\B"));
  EXPECT_EQ(registry.Text(std::string(kHkcu) + "\\Software\\B", "B"), "2");
  EXPECT_EQ(journal.back(), "registry value: HKEY_CURRENT_USER\\Software\\B \"B\" REG_SZ \"2\"");
}

TEST_F(RegistryScriptTest, ReportsEachFailingLineAndGoesOn) {
  registry.refusedKeys = {std::string(kHklm) + "\\Zablokowany", std::string(kHkcu) + "\\Software\\A\\Zablokowany"};
  registry.refusedNames = {"Odmowa"};
  Run({"-str:Przed=1",  // no key open yet
       "+hlm\\Zablokowany", "-str:PoNieudanym=1",
       "+hcu\\Software\\A", "+hcu\\Zablokowany", "-str:WcześniejszyKlucz=1",
       "-int:Licznik=abc", "-int:Pusty=", "-str:Odmowa=<programfolder>x", "-str:Dalej=ok"});
  EXPECT_THAT(Hints(),
              ElementsAre("Podczas tworzenia wartości \"Przed\"=\"1\" typu \"str\" wystąpił problem: "
                          "\"Failed to set data for 'Przed'\"",
                          "Podczas tworzenia klucza Zablokowany wystąpił problem",
                          "Podczas tworzenia wartości \"PoNieudanym\"=\"1\" typu \"str\" wystąpił problem: "
                          "\"Failed to set data for 'PoNieudanym'\"",
                          "Podczas tworzenia klucza Zablokowany wystąpił problem",
                          "Podczas tworzenia wartości \"Licznik\"=\"abc\" typu \"int\" wystąpił problem: "
                          "\"'abc' is not a valid integer value\"",
                          "Podczas tworzenia wartości \"Pusty\"=\"\" typu \"int\" wystąpił problem: "
                          "\"'' is not a valid integer value\"",
                          "Podczas tworzenia wartości \"Odmowa\"=\"C:\\Aplikacja\\x\" typu \"str\" wystąpił "
                          "problem: \"Failed to set data for 'Odmowa'\""));
  // After a failed HKEY_CURRENT_USER key the earlier one stays open.
  EXPECT_EQ(registry.Text(std::string(kHkcu) + "\\Software\\A", "WcześniejszyKlucz"), "1");
  EXPECT_EQ(registry.Text(std::string(kHkcu) + "\\Software\\A", "Dalej"), "ok");
  ASSERT_EQ(problems.size(), 7u);
  const Problem& key = problems[1];
  EXPECT_EQ(key.title, "Problem rejestru");
  EXPECT_EQ(key.message, "Utworzenie klucza rejestru jest niemożliwe.");
  EXPECT_EQ(key.details, "Dostęp do rejestru systemowego został odwołany.");
  const Problem& value = problems[0];
  EXPECT_EQ(value.title, "Problem rejestru");
  EXPECT_EQ(value.message, "Utworzenie wartości rejestru jest niemożliwe.");
  EXPECT_EQ(value.details, key.details);
}

TEST_F(RegistryScriptTest, MissingScriptReachesTheCaller) {
  try {
    RunRegistryScript(GetTempFolder(), "C:\\Aplikacja\\", [](const Problem&) {});
    FAIL() << "no error";
  } catch (const ESetupFileError& error) {
    EXPECT_STREQ(error.what(), "File not found");
  }
  EXPECT_THAT(registry.calls, IsEmpty());
}

}  // namespace
}  // namespace setuvane

namespace setuvane {
namespace {

// While an uninstall recorder listens, the script records the keys it creates
// (each missing level) and the values it writes with what they held before, each
// before it is made.
TEST_F(RegistryScriptTest, RecordsCreatedKeysAndWhatValuesHeldBefore) {
  registry.keys.insert(std::string(kHklm) + "\\Software");
  registry.keys.insert(std::string(kHkcu) + "\\Software");
  registry.values[std::string(kHkcu) + "\\Software"]["Stara"] = {kRegSz, std::string("x\0", 2)};
  std::vector<UninstallItem> items;
  SetUninstallRecorder([&](const UninstallItem& item) {
    items.push_back(item);
    // Recorded before the change: the key is not there yet, the value holds what it held.
    const std::string key = item.root + "\\" + item.path;
    if (item.kind == UninstallItemKind::kKey) {
      EXPECT_FALSE(registry.keys.count(key)) << key;
    } else {
      EXPECT_EQ(registry.values[key].count(item.name) > 0, item.prior.has_value()) << item.name;
    }
  });
  Run({"+hlm\\Software\\Firma\\Produkt", "-int:Licznik=5", "+hcu\\Software", "-str:Stara=nowa",
       "-int:Zla=abc"});
  SetUninstallRecorder({});
  const std::vector<UninstallItem> expected = {
      KeyItem(kHklm, "Software\\Firma"),
      KeyItem(kHklm, "Software\\Firma\\Produkt"),
      ValueItem(kHklm, "Software\\Firma\\Produkt", "Licznik", std::nullopt),
      ValueItem(kHkcu, "Software", "Stara", RegistryData{kRegSz, std::string("x\0", 2)}),
  };
  EXPECT_EQ(items, expected);
}

// A key that is there but will not open with full access (another's, guarded by
// its rights) was not made by the installation: only the levels the system says
// it created are recorded.
TEST_F(RegistryScriptTest, AKeyThatIsThereButGuardedIsNotRecordedAsCreated) {
  const std::string firma = std::string(kHklm) + "\\Software\\Firma";
  registry.keys = {std::string(kHklm) + "\\Software", firma};
  registry.refusedKeys = {firma};
  std::vector<UninstallItem> items;
  SetUninstallRecorder([&](const UninstallItem& item) { items.push_back(item); });
  Run({"+hlm\\Software\\Firma\\Produkt", "-int:Licznik=5"});
  SetUninstallRecorder({});
  EXPECT_EQ(items, (std::vector<UninstallItem>{KeyItem(kHklm, "Software\\Firma\\Produkt"),
                                               ValueItem(kHklm, "Software\\Firma\\Produkt", "Licznik", std::nullopt)}));
}

// Once the uninstall record cannot be written, the script stops before its next
// change and tells its step; it reports nothing of its own (the installation
// reports the record).
TEST_F(RegistryScriptTest, StopsBeforeItsNextChangeWhenTheRecordCannotBeWritten) {
  SetUninstallRecorder([](const UninstallItem&) {}, [] { return false; });
  machine.fileContents["C:\\WINDOWS\\TEMP\\registry.inf"] = "+hlm\\Software\\Firma\r\n-int:Licznik=5\r\n";
  const auto report = [this](const Problem& p) { problems.push_back(p); };
  EXPECT_FALSE(RunRegistryScript(GetTempFolder(), "C:\\Aplikacja\\", report));
  SetUninstallRecorder({});
  EXPECT_FALSE(registry.keys.count(std::string(kHklm) + "\\Software"));
  EXPECT_TRUE(problems.empty());
}

}  // namespace
}  // namespace setuvane
