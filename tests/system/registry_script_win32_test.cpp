// The registry script against the real registry (under Wine): every line kind
// written, then read back with RegGetValueW and RegQueryValueExA.
#include <windows.h>
#include <sddl.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/cp1250.h"
#include "system/registry.h"
#include "system/registry_script.h"
#include "system/uninstall_items.h"
#include "system/utf8.h"
#include "system/shell_folders.h"

namespace setuvane {
namespace {

using ::testing::ElementsAre;

constexpr char kTestKey[] = "Software\\SetuvaneTest";

// The text as stored, UTF-16, whatever the code page.
std::optional<std::string> ReadText(HKEY root, const std::string& path, const std::string& name) {
  wchar_t data[4096] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t);
  DWORD type = 0;
  const std::u16string widePath = Utf8ToUtf16(path), wideName = Utf8ToUtf16(name);
  if (RegGetValueW(root, reinterpret_cast<LPCWSTR>(widePath.c_str()), reinterpret_cast<LPCWSTR>(wideName.c_str()),
                   RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return Utf16ToUtf8(reinterpret_cast<const char16_t*>(data));
}

std::optional<DWORD> ReadDword(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD value = 0, size = sizeof(value), type = 0;
  LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != 4) return std::nullopt;
  return value;
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class RegistryScriptOnWindows : public ::testing::Test {
 protected:
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "+HLM");
    DeleteFileA(script_.c_str());
  }

  void Run(std::initializer_list<std::string> lines) {
    std::ofstream out(script_, std::ios::binary);
    for (const std::string& line : lines) out << Cp1250(line) << "\r\n";
    out.close();
    EXPECT_TRUE(RunRegistryScript(GetTempFolder(), "C:\\Aplikacja\\", [this](const Problem& p) { hints.push_back(p.hint); }));
  }

  std::vector<std::string> hints;

 private:
  std::string script_ = GetTempFolder() + "registry.inf";
};

TEST_F(RegistryScriptOnWindows, WritesEveryTypeAndReportsWhatFails) {
  const std::string key = std::string(kTestKey) + "\\Firma\\Aplikacja";
  Run({"+hlm\\" + key, "-str:Wersja=1.0", "-int:Licznik=5", "-int:Hex=$1F", "-int:Hex2=0x10", "-int:Ujemny=-2",
       "-bln:Aktywny=prawda", "-bln:Nieaktywny=tak", "-str:<programfolder>Aplikacja.exe",
       "-str:Sciezka=<programfolder>\\bin", "-str:Windows=<WindowsFolder>", "-str:Zażółć=gęślą jaźń", "-dwd:X=1",
       "-int:Duzy=2147483648", "-int:Pusty=", "-int:Tekst=abc", "; komentarz", "+HLM", "-str:Bez=1"});
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, key, "Wersja"), "1.0");
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, "Licznik"), 5u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, "Hex"), 31u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, "Hex2"), 16u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, "Ujemny"), 0xFFFFFFFEu);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, "Aktywny"), 1u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, "Nieaktywny"), 0u);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, key, ""), "C:\\Aplikacja\\Aplikacja.exe");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, key, "Sciezka"), "C:\\Aplikacja\\bin");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, key, "Windows"), GetWindowsFolder());
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, key, "Zażółć"), "gęślą jaźń");
  for (const char* absent : {"X", "Duzy", "Pusty", "Tekst"}) {
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, key, absent), std::nullopt) << absent;
    EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, key, absent), std::nullopt) << absent;
  }
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "+HLM", "Bez"), "1");  // no "\": the whole line names the key
  EXPECT_THAT(hints, ElementsAre("Podczas tworzenia wartości \"Duzy\"=\"2147483648\" typu \"int\" wystąpił problem: "
                                 "\"'2147483648' is not a valid integer value\"",
                                 "Podczas tworzenia wartości \"Pusty\"=\"\" typu \"int\" wystąpił problem: "
                                 "\"'' is not a valid integer value\"",
                                 "Podczas tworzenia wartości \"Tekst\"=\"abc\" typu \"int\" wystąpił problem: "
                                 "\"'abc' is not a valid integer value\""));
}

TEST_F(RegistryScriptOnWindows, CurrentUserKeysNestAndOtherRootsDoNot) {
  const std::string a = std::string(kTestKey) + "\\A", b = std::string(kTestKey) + "\\B";
  Run({"+hcu\\" + a, "+xyz\\" + b, "-str:V=1", "+hLm\\" + a, "+hlm\\" + b, "-str:V=2", "+HCU\\" + b, "-str:V=3"});
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, a + "\\" + b, "V"), "1");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, b, "V"), "2");
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, a));
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, b, "V"), "3");  // after another root: from the root again
  EXPECT_TRUE(hints.empty());
}

TEST_F(RegistryScriptOnWindows, FailingLinesAndLongNames) {
  const std::string key = std::string(kTestKey) + "\\Dlugie";
  const std::string longName(300, 'n');
  const std::string longComponent(300, 'k');
  Run({"-str:Przed=1",                       // no key open yet
       "+hcu\\" + key, "-str:" + longName + "=cała nazwa",
       "+hcu\\" + longComponent,             // beneath the open key; Windows refuses the name
       "-str:Potem=do wcześniejszego",       // so the earlier key takes the value
       "+hlm\\" + longComponent, "-str:NowyKorzen=1"});
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key, longName), "cała nazwa");  // not cut at 255
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key, "Potem"), "do wcześniejszego");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key + "\\" + longComponent.substr(0, 255)));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, longComponent.substr(0, 255)));
  EXPECT_THAT(hints, ElementsAre("Podczas tworzenia wartości \"Przed\"=\"1\" typu \"str\" wystąpił problem: "
                                 "\"Failed to set data for 'Przed'\"",
                                 "Podczas tworzenia klucza " + longComponent + " wystąpił problem",
                                 "Podczas tworzenia klucza " + longComponent + " wystąpił problem",
                                 "Podczas tworzenia wartości \"NowyKorzen\"=\"1\" typu \"str\" wystąpił problem: "
                                 "\"Failed to set data for 'NowyKorzen'\""));
}

// Sets the key's access rights from an SDDL text; true when that worked.
bool SetKeyRights(HKEY root, const std::string& path, const char* sddl) {
  PSECURITY_DESCRIPTOR rights = nullptr;
  HKEY key = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &rights, nullptr)) return false;
  const bool set = RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS &&
                   RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, rights) == ERROR_SUCCESS;
  if (key) RegCloseKey(key);
  LocalFree(rights);
  return set;
}

// Another's key that lets anyone read it and make keys beneath it, but grants no
// full access: the installation that writes beneath it did not create it, and an
// uninstallation that cannot open it does not take it for gone.
TEST_F(RegistryScriptOnWindows, AGuardedKeyIsNeitherCreatedByTheInstallationNorGone) {
  const std::string guarded = std::string(kTestKey) + "\\Strzezony";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, guarded.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_TRUE(SetKeyRights(HKEY_CURRENT_USER, guarded, "D:P(A;;0x2001d;;;WD)"));  // KEY_READ | KEY_CREATE_SUB_KEY
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, guarded.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_ACCESS_DENIED);

  std::vector<UninstallItem> items;
  SetUninstallRecorder([&](const UninstallItem& item) { items.push_back(item); });
  Run({"+hcu\\" + guarded + "\\Produkt", "-int:Licznik=5"});
  SetUninstallRecorder({});
  EXPECT_EQ(items, (std::vector<UninstallItem>{
                       KeyItem("HKEY_CURRENT_USER", guarded + "\\Produkt"),
                       ValueItem("HKEY_CURRENT_USER", guarded + "\\Produkt", "Licznik", std::nullopt)}));
  Registry& registry = DefaultRegistry();
  EXPECT_EQ(registry.OpenKey(kHkeyCurrentUser, guarded), std::nullopt);
  EXPECT_FALSE(registry.KeyMissing(kHkeyCurrentUser, guarded));
  EXPECT_TRUE(registry.KeyMissing(kHkeyCurrentUser, guarded + "\\Brak"));
  EXPECT_EQ(registry.MakeKey(kHkeyCurrentUser, guarded), KeyCreation::kExisted);
  EXPECT_EQ(registry.MakeKey(kHkeyCurrentUser, guarded + "\\Nowy"), KeyCreation::kCreated);
  EXPECT_TRUE(SetKeyRights(HKEY_CURRENT_USER, guarded, "D:(A;;KA;;;WD)"));  // for TearDown
}

}  // namespace
}  // namespace setuvane
