// The folder browser under Wine: the shell's own dialog with our caption, place,
// status line and OK rule, driven from a helper thread while Execute runs.
#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "system/utf8.h"
#include "system/shell_folders.h"
#include "tests/dialogs/window_driver_win32.h"
#include "tests/widgets/test_window_win32.h"
#include "widgets/folder_dialog.h"

namespace setuvane {
namespace {

using testing::TextOf;
using testing::WindowDriver;

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kStatusLine = 0x3743;
constexpr int kFolderTree = 0x3741;

bool OkEnabled(HWND dialog) { return IsWindowEnabled(GetDlgItem(dialog, IDOK)) != 0; }
bool TreeFocused(HWND dialog) {
  GUITHREADINFO focus{};
  focus.cbSize = sizeof(focus);
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &focus);
  return focus.hwndFocus == GetDlgItem(dialog, kFolderTree);
}
std::wstring StatusOf(HWND dialog) { return TextOf(GetDlgItem(dialog, kStatusLine)); }

class FolderDialogTest : public ::testing::Test {
 protected:
  FolderDialogTest() {
    CoInitialize(nullptr);
    SetWindowPos(owner.hwnd(), nullptr, 100, 80, 600, 400, SWP_NOZORDER);
    // A folder whose path is far wider than the status line.
    longFolder = GetWindowsVolume() + "setuvane-folders-" + std::to_string(GetCurrentProcessId());
    for (int level = 0; level < 6; ++level) longFolder += "\\katalog z długą nazwą " + std::to_string(level);
    std::filesystem::create_directories(Utf8ToUtf16(longFolder));
    dialog.SetTitle("Wybierz katalog");
    dialog.SetText(
        "Wybierz katalog, w którym zostanie zainstalowany produkt. Jeżeli katalog nie istnieje, "
        "zostanie utworzony.");
  }
  ~FolderDialogTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(
        Utf8ToUtf16(GetWindowsVolume() + "setuvane-folders-" + std::to_string(GetCurrentProcessId())), ignored);
    SetWindowPos(owner.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOSIZE);  // shared with other tests
    CoUninitialize();
  }

  test::TestWindow owner{600, 400};
  TFolderDialog dialog{owner.hwnd()};
  std::string longFolder;
};

TEST_F(FolderDialogTest, ShowsOverTheOwnerWithItsCaptionStatusLineAndOkRule) {
  dialog.SetDirectory(longFolder);
  std::wstring caption, prompt, status, virtualStatus;
  RECT ownerRect{}, placed{};
  bool okOnFolder = false, okOnVirtual = true, treeFocused = false;
  WindowDriver driver(kDialogClass, [&](HWND d) {
    caption = TextOf(d);
    prompt = TextOf(GetDlgItem(d, 0x3742));
    GetWindowRect(owner.hwnd(), &ownerRect);
    GetWindowRect(d, &placed);
    treeFocused = TreeFocused(d);
    status = StatusOf(d);
    okOnFolder = OkEnabled(d);
    // My Computer has no path of the file system.
    PIDLIST_ABSOLUTE computer = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer);
    SendMessageW(d, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(computer));
    okOnVirtual = OkEnabled(d);
    virtualStatus = StatusOf(d);
    CoTaskMemFree(computer);
    PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(dialog.Execute());
  driver.Join();
  ASSERT_TRUE(driver.found());
  EXPECT_FALSE(driver.closedByWatchdog());

  EXPECT_EQ(caption, L"Wybierz katalog");
  EXPECT_EQ(prompt, L"Wybierz katalog, w którym zostanie zainstalowany produkt. Jeżeli katalog nie istnieje, "
                    L"zostanie utworzony.");
  const int width = placed.right - placed.left;
  EXPECT_EQ(placed.left, ownerRect.left + 300 - width / 2);  // centred across the owner
  EXPECT_EQ(placed.top, ownerRect.top + 100);                // a quarter of its height down
  EXPECT_TRUE(treeFocused);

  // The long path is shortened in the middle: its start and its last folder stay.
  const std::wstring path = reinterpret_cast<const wchar_t*>(Utf8ToUtf16(longFolder).c_str());
  ASSERT_GT(status.size(), 20u);
  EXPECT_LT(status.size(), path.size());
  EXPECT_NE(status.find(L"..."), std::wstring::npos);
  EXPECT_EQ(status.substr(0, 3), path.substr(0, 3));
  EXPECT_EQ(status.substr(status.size() - 20), path.substr(path.size() - 20));
  EXPECT_TRUE(okOnFolder);
  EXPECT_FALSE(okOnVirtual);
  EXPECT_EQ(virtualStatus, L"");
}

TEST_F(FolderDialogTest, OkGivesTheChosenFolderAndCancelNone) {
  dialog.SetDirectory(longFolder);
  int shown = 0, closed = 0;
  std::string whileShown;
  dialog.SetOnShow([&] {
    ++shown;
    whileShown = dialog.Directory();
  });
  dialog.SetOnClose([&] { ++closed; });
  // Each showing is a new window whose tree takes the focus.
  std::vector<bool> treeFocused;
  {
    WindowDriver driver(kDialogClass, [&](HWND d) {
      treeFocused.push_back(testing::WaitUntil([&] { return TreeFocused(d); }, 2000));
      PostMessageW(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(dialog.Execute());
  }
  EXPECT_EQ(dialog.Directory(), longFolder);
  EXPECT_EQ(whileShown, longFolder);  // the selection, made from Directory
  {
    WindowDriver driver(kDialogClass, [&](HWND d) {
      treeFocused.push_back(testing::WaitUntil([&] { return TreeFocused(d); }, 2000));
      PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(dialog.Execute());
  }
  EXPECT_EQ(treeFocused, (std::vector<bool>{true, true}));
  EXPECT_EQ(dialog.Directory(), "");
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(closed, 2);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

}  // namespace
}  // namespace setuvane
