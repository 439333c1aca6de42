// The shortcut script against the real shell (under Wine): shortcut files written
// through the shell link object and loaded back through IShellLinkA.
#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "system/cp1250.h"
#include "system/folder_error.h"
#include "system/shell_folders.h"
#include "system/shortcut_script.h"
#include "tests/system/scratch_folder_win32.h"

namespace setuvane {
namespace {

using ::testing::ElementsAre;

struct LoadedLink {
  std::string path, arguments, workingFolder, description, iconFile;
  int iconIndex = -1;
  int showCommand = -1;
};

// Loads a shortcut file back through the shell link object.
LoadedLink LoadLink(const std::string& file) {
  LoadedLink loaded;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    ADD_FAILURE() << "no shell link object";
    return loaded;
  }
  IPersistFile* persist = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
  std::wstring wide(file.size() + 1, L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide.data(), static_cast<int>(wide.size())) - 1);
  if (SUCCEEDED(persist->Load(wide.c_str(), STGM_READ))) {
    char text[MAX_PATH * 4] = {};
    link->GetPath(text, sizeof(text), nullptr, SLGP_RAWPATH);
    loaded.path = text;
    link->GetArguments(text, sizeof(text));
    loaded.arguments = text;
    link->GetWorkingDirectory(text, sizeof(text));
    loaded.workingFolder = text;
    link->GetDescription(text, sizeof(text));
    loaded.description = text;
    link->GetIconLocation(text, sizeof(text), &loaded.iconIndex);
    loaded.iconFile = text;
    link->GetShowCmd(&loaded.showCommand);
  } else {
    ADD_FAILURE() << "cannot load " << file;
  }
  persist->Release();
  link->Release();
  return loaded;
}

class ShortcutScriptOnWindows : public ::testing::Test {
 protected:
  ShortcutScriptOnWindows() {
    CoInitialize(nullptr);
    std::filesystem::create_directories(program + "bin");
    for (const char* file : {"Aplikacja.exe", "bin\\Drugi.exe", "ikony.dll"}) std::ofstream(program + file) << "x";
  }
  ~ShortcutScriptOnWindows() override {
    DeleteFileA(script_.c_str());
    CoUninitialize();
  }

  void Run(std::initializer_list<std::string> lines) {
    std::ofstream out(script_, std::ios::binary);
    for (const std::string& line : lines) out << Cp1250(line) << "\r\n";
    out.close();
    EXPECT_TRUE(RunShortcutScript(linker, GetTempFolder(), program, [this](const Problem& p) { hints.push_back(p.hint); }));
  }

  testing::ScratchFolder scratch{"setuvane-shortcuts"};
  const std::string program = scratch.path() + "Program\\";
  TShellLink linker;
  std::vector<std::string> hints;

 private:
  std::string script_ = GetTempFolder() + "shortcut.inf";
};

TEST_F(ShortcutScriptOnWindows, WritesShortcutsThatInheritBetweenBlocks) {
  const std::string menu = scratch.path() + "Menu Start\\";
  Run({"{" + menu + "Programy\\Aplikacja\\Aplikacja.lnk", "-lnk=<programfolder>Aplikacja.exe", "-dsc=Aplikacja",
       "}",
       "{" + menu + "Programy\\Aplikacja\\Drugi.lnk", "-lnk:<programfolder>bin\\Drugi.exe", "-cmd:/opcja=1",
       "-icn=<programfolder>ikony.dll", "}"});
  EXPECT_TRUE(hints.empty());

  LoadedLink first = LoadLink(menu + "Programy\\Aplikacja\\Aplikacja.lnk");
  EXPECT_EQ(first.path, program + "Aplikacja.exe");
  EXPECT_EQ(first.arguments, "");
  EXPECT_EQ(first.workingFolder, program);
  EXPECT_EQ(first.description, "Aplikacja");
  EXPECT_EQ(first.iconFile, "");
  EXPECT_EQ(first.showCommand, SW_SHOWNORMAL);

  LoadedLink second = LoadLink(menu + "Programy\\Aplikacja\\Drugi.lnk");
  EXPECT_EQ(second.path, program + "bin\\Drugi.exe");
  EXPECT_EQ(second.arguments, "1");                  // "-cmd:/opcja=1": the first "=" wins
  EXPECT_EQ(second.workingFolder, program);          // the first block's derived folder
  EXPECT_EQ(second.description, "Aplikacja");        // kept from the first block
  EXPECT_EQ(second.iconFile, program + "ikony.dll");
  EXPECT_EQ(second.iconIndex, 0);
  EXPECT_EQ(second.showCommand, SW_SHOWNORMAL);
}

TEST_F(ShortcutScriptOnWindows, ReportsWhatWindowsRefusesAndGoesOn) {
  std::ofstream(scratch.path() + "plik") << "x";
  const std::string tooLong = scratch.path() + std::string(1100, 'd') + ".lnk";
  Run({"{" + scratch.path() + "plik\\A.lnk", "-lnk=<programfolder>Aplikacja.exe", "}",  // folder below a file
       "{" + tooLong, "}",                                                              // not cut at 1024
       "{" + scratch.path() + "Dobry.lnk", "}"});
  EXPECT_THAT(hints, ElementsAre("Podczas tworzenia folderu odnośnika " + scratch.path() + "plik wystąpił problem",
                                 "Podczas tworzenia odnośnika " + tooLong + " wystąpił problem"));
  EXPECT_EQ(LoadLink(scratch.path() + "Dobry.lnk").path, program + "Aplikacja.exe");
}

TEST_F(ShortcutScriptOnWindows, ClosingBraceWithoutABlockReachesTheCaller) {
  try {
    Run({"-lnk=<programfolder>Aplikacja.exe", "}"});
    FAIL() << "no error";
  } catch (const EFolderError& error) {
    EXPECT_STREQ(error.what(), "Unable to create directory");
  }
}

}  // namespace
}  // namespace setuvane
