// The system routines against real Windows (run under Wine): registry, folders,
// processes, disk space, the shutdown privilege and the sound library.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "system/folder_error.h"
#include "system/folder_macros.h"
#include "system/registry.h"
#include "system/shell_folders.h"
#include "system/system_actions.h"
#include "system/system_library.h"
#include "system/system_queries.h"
#include "system/win32_machine.h"
#include "tests/system/scratch_folder_win32.h"

namespace setuvane {
namespace {

constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

namespace fs = std::filesystem;
using testing::ScratchFolder;

bool IsDirectory(const std::string& path) { return fs::is_directory(path); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writes values into the user's Shell Folders key and puts back what was there.
class ShellFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->existed) {
        RegSetValueExA(key_, it->name.c_str(), 0, it->type, it->data.data(), static_cast<DWORD>(it->data.size()));
      } else {
        RegDeleteValueA(key_, it->name.c_str());
      }
    }
    RegCloseKey(key_);
  }

  void Write(const std::string& name, DWORD type, const void* data, DWORD size) {
    Save(name);
    ASSERT_EQ(RegSetValueExA(key_, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }
  void WriteText(const std::string& name, const std::string& text, DWORD type = REG_SZ) {
    Write(name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
  }
  void Delete(const std::string& name) {
    Save(name);
    RegDeleteValueA(key_, name.c_str());
  }

 private:
  struct SavedValue {
    std::string name;
    bool existed = false;
    DWORD type = 0;
    std::vector<BYTE> data;
  };

  void Save(const std::string& name) {
    SavedValue saved;
    saved.name = name;
    DWORD size = 0;
    if (RegQueryValueExA(key_, name.c_str(), nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
      saved.data.resize(size);
      saved.existed = RegQueryValueExA(key_, name.c_str(), nullptr, &saved.type, saved.data.data(), &size) ==
                      ERROR_SUCCESS;
    }
    saved_.push_back(std::move(saved));
  }

  HKEY key_ = nullptr;
  std::vector<SavedValue> saved_;
};

TEST_F(ShellFoldersTest, ReadsTheRegisteredFolders) {
  WriteText("Desktop", "C:\\Pulpit testowy");
  WriteText("Favorites", "%USERPROFILE%\\Ulubione", REG_EXPAND_SZ);
  EXPECT_EQ(GetShellFolder("Desktop"), "C:\\Pulpit testowy\\");
  EXPECT_EQ(GetShellFolder("Favorites"), "%USERPROFILE%\\Ulubione\\");  // taken as stored
  EXPECT_EQ(ExpandFolderMacros("<DesktopFolder>Aplikacja.lnk"), "C:\\Pulpit testowy\\Aplikacja.lnk");
  EXPECT_EQ(ExpandFolderMacros("<fontsfolder>"), "C:\\Pulpit testowy\\");
}

TEST_F(ShellFoldersTest, ValueWithoutItsNulIsReadWhole) {
  Write("Recent", REG_SZ, "C:\\Ostatnie", 11);
  EXPECT_EQ(GetShellFolder("Recent"), "C:\\Ostatnie\\");
}

TEST_F(ShellFoldersTest, MissingAndNonTextValues) {
  Delete("Desktop");
  EXPECT_EQ(ExpandFolderMacros("<desktopfolder>Aplikacja.lnk"), "Aplikacja.lnk");
  DWORD number = 5;
  Write("SendTo", REG_DWORD, &number, sizeof(number));
  try {
    ExpandFolderMacros("<sendtofolder>x");
    FAIL() << "no error";
  } catch (const EFolderError& error) {
    EXPECT_STREQ(error.what(), "Invalid data type for 'SendTo'");
  }
}

TEST_F(ShellFoldersTest, QuickLaunchBelowAppDataOrTheWindowsFolder) {
  WriteText("AppData", "C:\\Dane");
  EXPECT_EQ(ExpandFolderMacros("<launchfolder>"), "C:\\Dane\\Microsoft\\Internet Explorer\\Quick Launch\\");
  Delete("AppData");
  EXPECT_EQ(GetQuickLaunchFolder(), GetWindowsFolder() + "Microsoft\\Internet Explorer\\Quick Launch\\");
}

TEST(SystemFolders, AreTheSystemsOwn) {
  std::string windows = GetWindowsFolder();
  ASSERT_GE(windows.size(), 4u);
  EXPECT_EQ(windows.back(), '\\');
  EXPECT_TRUE(IsDirectory(windows));
  EXPECT_EQ(GetWindowsVolume(), windows.substr(0, 3));
  EXPECT_EQ(GetWindowsVolume()[1], ':');
  EXPECT_EQ(ExpandFolderMacros("<programsfolder>"), GetWindowsVolume() + "Program Files\\");

  std::string system = GetSystemFolder();
  EXPECT_EQ(system.back(), '\\');
  EXPECT_TRUE(IsDirectory(system));
  EXPECT_TRUE(fs::is_regular_file(system + "kernel32.dll"));

  std::string temp = GetTempFolder();
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(IsDirectory(temp));

  // The launch folder holds this very program.
  std::string launch = GetLaunchFolder();
  EXPECT_EQ(launch.back(), '\\');
  EXPECT_TRUE(fs::is_regular_file(launch + "system_win32_test.exe"));
  EXPECT_EQ(ExpandFolderMacros("<SourceFolder>"), launch);
}

TEST(SystemFolders, TemporaryFolderLongerThanTheClassicBufferIsKeptWhole) {
  char saved[MAX_PATH + 1] = {};
  DWORD savedLength = GetEnvironmentVariableA("TMP", saved, sizeof(saved));
  // 257 characters with the backslash: past the classic 255 but within the
  // MAX_PATH that the system's own temporary path allows.
  std::string longFolder = "C:\\" + std::string(120, 'a') + "\\" + std::string(132, 'b');
  ASSERT_TRUE(SetEnvironmentVariableA("TMP", longFolder.c_str()));
  std::string temp = GetTempFolder();
  SetEnvironmentVariableA("TMP", savedLength ? saved : nullptr);
  EXPECT_EQ(temp, longFolder + "\\");
}

TEST(EnsureDirectoryOnDisk, CreatesEveryMissingLevel) {
  ScratchFolder scratch;
  std::string deepest = scratch.path() + "A\\B\\C";
  EXPECT_TRUE(EnsureDirectory(deepest + "\\"));
  EXPECT_TRUE(IsDirectory(scratch.path() + "A\\B"));
  EXPECT_TRUE(IsDirectory(deepest));
  EXPECT_TRUE(EnsureDirectory(deepest));
  EXPECT_TRUE(EnsureDirectory(GetWindowsVolume().substr(0, 2)));
}

TEST(EnsureDirectoryOnDisk, FailsBelowAFile) {
  ScratchFolder scratch;
  std::ofstream(scratch.path() + "plik.txt") << "x";
  EXPECT_FALSE(EnsureDirectory(scratch.path() + "plik.txt\\podfolder"));
  EXPECT_THROW(EnsureDirectory(""), EFolderError);
}

TEST(CanEnterDirectory, KeepsTheCurrentDirectory) {
  char before[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  EXPECT_TRUE(CanEnterDirectory(GetTempFolder()));
  EXPECT_FALSE(CanEnterDirectory(GetTempFolder() + "setuvane-no-such-folder"));
  char after[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_STREQ(before, after);
}

class RunAndWaitTest : public ::testing::Test {
 protected:
  std::string helper = "\"" + GetLaunchFolder() + "system_exit_with_code.exe\"";
};

TEST_F(RunAndWaitTest, ReturnsTheExitCode) {
  EXPECT_EQ(RunAndWait(helper + " 7", SW_HIDE), 7u);
  EXPECT_EQ(RunAndWait(helper + " 3010", SW_HIDE), 3010u);
  EXPECT_EQ(RunAndWait("setuvane-no-such-program.exe", SW_HIDE), 0u);
}

TEST_F(RunAndWaitTest, LongCommandLineArrivesIntact) {
  ScratchFolder scratch;
  std::string output = scratch.path() + "line.txt";
  std::string commandLine = helper + " 5 \"" + output + "\" " + std::string(1500, 'x') + " koniec";
  ASSERT_GT(commandLine.size(), 511u);
  EXPECT_EQ(RunAndWait(commandLine, SW_HIDE), 5u);
  EXPECT_EQ(ReadFile(output), commandLine);
}

TEST(DiskFreeBytes, ExistingAndMissingDrives) {
  std::string volume = GetWindowsVolume().substr(0, 2);
  std::int64_t free = GetDiskFreeBytes(volume);
  EXPECT_GT(free, 0);
  ULARGE_INTEGER available, total, totalFree;
  ASSERT_TRUE(GetDiskFreeSpaceExA((volume + "\\").c_str(), &available, &total, &totalFree));
  // The bytes free to this user (a quota counts), not the volume's.
  EXPECT_NEAR(static_cast<double>(free), static_cast<double>(available.QuadPart), 512.0 * 1024 * 1024);

  std::string missing;
  for (char letter = 'Z'; letter > 'C' && missing.empty(); --letter) {
    std::string root = std::string(1, letter) + ":\\";
    if (GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR) missing = root.substr(0, 2);
  }
  ASSERT_FALSE(missing.empty());
  EXPECT_EQ(GetDiskFreeBytes(missing), -1);
}

TEST(WindowsVersion, IsPlausible) {
  std::string version = GetWindowsVersion();
  std::smatch parts;
  ASSERT_TRUE(std::regex_match(version, parts, std::regex(R"((\d+)\.(\d+)\.(-?\d+))"))) << version;
  EXPECT_GE(std::stoi(parts[1]), 4);
  std::string platform = GetWindowsPlatform();
  EXPECT_TRUE(platform == "Microsoft Windows NT" || platform == "Microsoft Windows 95") << platform;
}

// The real privilege steps, with the request itself kept from Windows.
class MachineThatStaysUp : public Win32Machine {
 public:
  bool RequestExitWindows(std::uint32_t flags) override {
    requested = flags;
    return true;
  }
  std::optional<std::uint32_t> requested;
};

TEST(ShutDownWindows, EnablesThePrivilegeWithoutShuttingDown) {
  MachineThatStaysUp machine;
  ScopedMachine scoped(machine);
  int result = ShutDownWindows(kShutdownRestart);
  if (result == 0) {
    EXPECT_EQ(machine.requested, 6u);
  } else {
    EXPECT_EQ(result, 4);  // a user without the shutdown privilege
    EXPECT_FALSE(machine.requested.has_value());
  }
}

// A second of silence as 8 kHz, 8-bit mono PCM.
void WriteWave(const std::string& path) {
  const std::uint32_t samples = 8000;
  auto word = [](std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  std::ofstream out(path, std::ios::binary);
  out << "RIFF";
  word(out, 36 + samples, 4);
  out << "WAVEfmt ";
  word(out, 16, 4);
  word(out, 1, 2);     // PCM
  word(out, 1, 2);     // mono
  word(out, 8000, 4);  // samples per second
  word(out, 8000, 4);  // bytes per second
  word(out, 1, 2);     // block align
  word(out, 8, 2);     // bits per sample
  out << "data";
  word(out, samples, 4);
  out << std::string(samples, '\x80');
}

TEST(LoopingSound, WinmmIsLoadedOnlyWhenASoundPlays) {
  // Not imported: nothing has loaded the library before the first sound.
  EXPECT_EQ(GetModuleHandleA("winmm.dll"), nullptr);
  ScratchFolder scratch;
  std::string wave = scratch.path() + "install.wav";
  WriteWave(wave);
  bool played = PlayLoopingSound(wave);
  EXPECT_NE(GetModuleHandleA("winmm.dll"), nullptr);
  using WaveOutGetNumDevs = UINT(WINAPI*)();
  auto devices = reinterpret_cast<WaveOutGetNumDevs>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("winmm.dll"), "waveOutGetNumDevs")));
  if (devices && devices() > 0) {
    EXPECT_TRUE(played);
  }
  StopSound();
  // A missing file must not hang or crash; the call's own answer is passed on.
  PlayLoopingSound(scratch.path() + "brak.wav");
  StopSound();
}

TEST(SystemLibrary, IgnoresADllBesideTheProgram) {
  std::string probe = GetLaunchFolder() + "setuvane_probe.dll";
  std::ofstream(probe, std::ios::binary) << "not a library";
  SetLastError(0);
  void* loaded = LoadSystemLibrary("setuvane_probe.dll");
  DWORD error = GetLastError();
  DeleteFileA(probe.c_str());
  EXPECT_EQ(loaded, nullptr);
  EXPECT_NE(error, static_cast<DWORD>(ERROR_BAD_EXE_FORMAT)) << "the file beside the program was tried";
  EXPECT_NE(LoadSystemLibrary("winmm.dll"), nullptr);
}

// The registry seam: texts as UTF-16 whatever the code page, a value given back byte
// for byte (an odd size and no NUL, and data in the ANSI calls' form), and a key
// deleted with the keys below it, as Windows 9x would.
TEST(RegistryOnWindows, TextsRawDataAndWholeTrees) {
  Registry& registry = DefaultRegistry();
  const std::string top = "Software\\SetuvaneTest\\Łódź";
  const std::optional<Registry::Key> key = registry.CreateKey(kHkeyCurrentUser, top + "\\Głąb\\Dno");
  ASSERT_TRUE(key);
  EXPECT_TRUE(registry.SetValue(*key, "Ścieżka", kRegSz, StringValueData("C:\\Źródła")));
  EXPECT_EQ(registry.QueryText(*key, "Ścieżka"), "C:\\Źródła");
  // Stored as UTF-16: "Ź" and "ł" are single units.
  const std::string stored(
      "C\0:\0\\\0\x79\x01"
      "r\0\xF3\0d\0\x42\x01"
      "a\0\0\0",
      20);
  EXPECT_EQ(registry.QueryValue(*key, "Ścieżka"), (RegistryData{kRegSz, stored}));
  const RegistryData odd{kRegSz, std::string("A\0B", 3)};
  EXPECT_TRUE(registry.RestoreValue(*key, "Surowa", odd));
  EXPECT_EQ(registry.QueryValue(*key, "Surowa"), odd);
  EXPECT_TRUE(registry.RestoreValue(*key, "Dawna", RegistryData{kRegSz, std::string("abc\0", 4), /*ansiForm=*/true}));
  EXPECT_EQ(registry.QueryText(*key, "Dawna"), "abc");
  registry.CloseKey(*key);
  EXPECT_TRUE(registry.DeleteKey(kHkeyCurrentUser, top));
  EXPECT_FALSE(registry.OpenKey(kHkeyCurrentUser, top));
  EXPECT_TRUE(registry.DeleteKey(kHkeyCurrentUser, top));  // gone already
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\SetuvaneTest");
}

}  // namespace
}  // namespace setuvane
