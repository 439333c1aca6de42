// The installer's windows through the ANSI calls, as on Windows 95, 98 and Me: the
// same pages, dialogs and Polish texts as through the W calls, pixel for pixel. The
// wizard is walked three times with real input: with the W calls, with the ANSI
// calls forced (the switch for tests), and with Wine reporting Windows 98, where the
// installer chooses them itself and installs the product through them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/core/installer_driver_win32.h"
#include "tests/core/test_medium.h"
#include "tests/dialogs/window_driver_win32.h"
#include "tests/system/reported_windows_win32.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

using archive::testing::ReadFile;
using archive::testing::WriteFile;
using fakes::MediumEntry;
using fakes::StartablePackage;
using fakes::TestMedium;
using namespace testing;

struct Picture {
  std::string name;
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
};

// The whole screen, with the windows `masked` blacked out: the folder's edit box,
// where a caret blinks, and the free space, which the walk before changed.
Picture ScreenPicture(const std::string& name, std::vector<HWND> masked = {}) {
  Sleep(700);  // the page paints, the hover of the button under the mouse settles
  Picture picture{name, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), {}};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, 0, 0, SRCCOPY);
  for (HWND window : masked) {
    const RECT r = ScreenRectOf(window);
    FillRect(memory, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  SelectObject(memory, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = picture.width;
  info.biHeight = -picture.height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  GetDIBits(memory, bitmap, 0, picture.height, picture.pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

// Where two pictures differ: the number of pixels and the rectangle around them.
std::string Difference(const Picture& a, const Picture& b) {
  if (a.width != b.width || a.height != b.height) return "sizes differ";
  int count = 0;
  RECT box{a.width, a.height, 0, 0};
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (a.pixels[static_cast<size_t>(y) * a.width + x] == b.pixels[static_cast<size_t>(y) * a.width + x]) continue;
      ++count;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
             std::max<LONG>(box.bottom, y + 1)};
    }
  }
  if (count == 0) return "";
  return std::to_string(count) + " pixels differ in (" + std::to_string(box.left) + ", " + std::to_string(box.top) +
         ") - (" + std::to_string(box.right) + ", " + std::to_string(box.bottom) + ")";
}

BOOL CALLBACK NoteFreeSpaceLabel(HWND child, LPARAM found) {
  if (!IsShown(child) || ControlText(child).rfind(L"Dostępne miejsce: ", 0) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

HWND FreeSpaceLabel(HWND installer) {
  HWND found = nullptr;
  EnumChildWindows(installer, NoteFreeSpaceLabel, reinterpret_cast<LPARAM>(&found));
  return found;
}

struct Walk {
  bool unicodeWindows = false;
  std::vector<Picture> pictures;
};

class AnsiWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Proponowany\\");
    package.push_back(MediumEntry("USTAWIENIA.INF", "new settings", "<programfolder>"));
    package.push_back(MediumEntry("bin/app.exe", "program", "<programfolder>"));
    medium.WritePackage(package);
  }

  Walk WalkTheWizard(const std::string& program) {
    Walk walk;
    const std::filesystem::path target = medium.Path() / "Produkt";
    std::filesystem::remove_all(target);
    std::filesystem::create_directories(target);
    WriteFile(target / "USTAWIENIA.INF", {'o', 'l', 'd'});
    EXPECT_TRUE(CopyFileA(WinePath(SETUVANE_EXE).c_str(), (medium.Medium() + program).c_str(), FALSE));
    PROCESS_INFORMATION process = StartProcess("\"" + medium.Medium() + program + "\"");
    HWND installer = WaitForControl(nullptr, L"TfrmDefaultInterface", L"", 30000);
    if (!installer) {
      ADD_FAILURE() << "no wizard";
      WaitForExit(process, 1000);
      return walk;
    }
    walk.unicodeWindows = IsWindowUnicode(installer) != FALSE;
    const auto next = [&] { ClickOn(WaitForControl(installer, L"SetuvaneFlatButton", L"Następny >")); };

    EXPECT_NE(WaitForControl(installer, L"Static", L"Witamy w instalacji"), nullptr);
    walk.pictures.push_back(ScreenPicture("welcome"));
    next();
    HWND licence = WaitForControl(installer, L"SysListView32");
    EXPECT_NE(licence, nullptr);
    walk.pictures.push_back(ScreenPicture("licence"));
    next();
    EXPECT_TRUE(WaitUntil([&] {
      HWND list = WaitForControl(installer, L"SysListView32", L"", 100);
      return list && list != licence && !IsShown(licence);
    }));
    walk.pictures.push_back(ScreenPicture("product information"));
    next();
    EXPECT_NE(WaitForControl(installer, L"Static", L"Lokalizacja aplikacji"), nullptr);
    HWND folder = WaitForControl(installer, L"Edit");
    EXPECT_EQ(ControlText(folder), L"C:\\Proponowany\\");
    HWND freeSpace = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (freeSpace = FreeSpaceLabel(installer)) != nullptr; }));
    walk.pictures.push_back(ScreenPicture("folder", {folder, freeSpace}));

    // A folder too short: the problem dialog.
    ClickOn(folder);
    RetypeFocusedText(L"C:\\a");
    next();
    HWND report = WaitForControl(nullptr, L"TfrmInfoDialog", L"Nieprawidłowa ścieżka");
    EXPECT_NE(report, nullptr);
    EXPECT_NE(ChildWithText(report, L"Static", L"Sprecyzowana lokalizacja aplikacji nie może zostać zaakceptowana."),
              nullptr);
    walk.pictures.push_back(ScreenPicture("problem dialog", {folder, freeSpace}));
    ClickOn(WaitForControl(report, L"SetuvaneFlatButton", L"Zamknij"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(report); }));

    // The real folder: the overwrite question over the install page.
    ClickOn(folder);
    const std::string path = archive::testing::WinPath(target);
    RetypeFocusedText(std::wstring(path.begin(), path.end()));
    next();
    HWND question = WaitForControl(nullptr, L"TfrmMessageDialog");
    EXPECT_NE(question, nullptr);
    EXPECT_NE(WaitForControl(question, L"SetuvaneStaticMemo",
                             L"Zastąpić plik \"USTAWIENIA.INF\" nową wersją z instalatora?\r\n"
                             L"Ten plik zawiera ustawienia lub informacje użytkownika.",
                             2000),
              nullptr);
    walk.pictures.push_back(ScreenPicture("question"));
    ClickOn(WaitForControl(question, L"SetuvanePlainButton", L"Tak"));

    EXPECT_NE(WaitForControl(installer, L"Static", L"Zakończenie instalacji"), nullptr);
    walk.pictures.push_back(ScreenPicture("completion"));
    EXPECT_EQ(ReadFile(target / "USTAWIENIA.INF"), "new settings");
    EXPECT_EQ(ReadFile(target / "app.exe"), "program");
    ClickOn(WaitForControl(installer, L"SetuvaneFlatRadioButton", L"Nie, chcę teraz powrócić do systemu Windows."));
    ClickOn(WaitForControl(installer, L"SetuvaneFlatButton", L"Zamknij"));
    EXPECT_EQ(WaitForExit(process), 0u);
    return walk;
  }

  void ExpectSameLook(const Walk& expected, const Walk& actual) {
    ASSERT_EQ(expected.pictures.size(), actual.pictures.size());
    for (size_t i = 0; i < expected.pictures.size(); ++i) {
      EXPECT_EQ(Difference(expected.pictures[i], actual.pictures[i]), "") << expected.pictures[i].name;
    }
  }

  TestMedium medium;
};

TEST_F(AnsiWindows, ThePagesAndDialogsLookAndReadTheSameAsThroughTheWCalls) {
  const Walk wide = WalkTheWizard("setuvane.exe");
  EXPECT_TRUE(wide.unicodeWindows);

  SetEnvironmentVariableA(ui::kForceAnsiVariable, "1");  // the program started next inherits it
  const Walk forced = WalkTheWizard("setuvane.exe");
  SetEnvironmentVariableA(ui::kForceAnsiVariable, nullptr);
  EXPECT_FALSE(forced.unicodeWindows);
  ExpectSameLook(wide, forced);

  // Windows 98 reported: the installer takes the ANSI calls by itself.
  const std::string program = "instaluj-win98.exe";
  ReportedWindows reported(program, "win98");
  ASSERT_TRUE(reported.IsSet());
  const Walk windows98 = WalkTheWizard(program);
  EXPECT_FALSE(windows98.unicodeWindows);
  ExpectSameLook(wide, windows98);
}

}  // namespace
}  // namespace setuvane
