// The main window, the environment checks, the failure handler and the ending of
// the program, for real under Wine.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <thread>

#include "core/run/abort_installation.h"
#include "core/program/default_interface_win32.h"
#include "core/program/environment_queries_win32.h"
#include "core/run/installer_state.h"
#include "core/run/screen_cursor.h"
#include "core/package/settings.h"
#include "dialogs/controls_win32.h"
#include "dialogs/uncaught_failure.h"
#include "tests/core/fake_environment.h"
#include "tests/dialogs/window_driver_win32.h"
#include "tests/widgets/text_fit_win32.h"
#include "tests/core/medium_machine_win32.h"
#include "tests/core/test_medium.h"
#include "widgets/glyph_win32.h"

namespace setuvane {
namespace {

using fakes::FakeEnvironment;
using fakes::MediumEntry;
using fakes::MediumMachine;
using fakes::StartablePackage;
using fakes::TestMedium;
using testing::PostKey;
using testing::TextOf;
using testing::WindowDriver;

std::unique_ptr<EnvironmentQueries> FitMachine() {
  return std::make_unique<FakeEnvironment>(0, 1, 32);
}

// Lets the window handle what its showing and sizing posted.
void Pump() {
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

POINT PlaceInParent(HWND child) {
  RECT r = testing::ScreenRectOf(child);
  POINT p{r.left, r.top};
  ScreenToClient(GetParent(child), &p);
  return p;
}

SIZE SizeOf(HWND window) {
  const RECT r = testing::ScreenRectOf(window);
  return {r.right - r.left, r.bottom - r.top};
}

// What the problem dialog showed: caption, message and its list lines.
struct SeenReport {
  std::wstring caption, message;
  std::vector<std::wstring> lines;
};

std::function<void(HWND)> ReadReportThenClose(SeenReport& seen) {
  return [&seen](HWND dialog) {
    seen.caption = TextOf(dialog);
    seen.message = TextOf(testing::ChildrenOfClass(dialog, L"Static").at(0));
    HWND list = testing::ChildrenOfClass(dialog, L"ListBox").at(0);
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::wstring line(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
      line.resize(static_cast<size_t>(
          SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()))));
      seen.lines.push_back(line);
    }
    PostKey(dialog, VK_ESCAPE);
  };
}

// The window on a medium of its own whose package it can start with.
class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { medium.WritePackage(package); }

  std::vector<archive::testing::ZipEntryLayout> package = StartablePackage("C:\\Aplikacja\\");
  TestMedium medium;
  MediumMachine machine{medium.Medium(), medium.Setup()};
  ScopedMachine scoped{machine};
};

TEST_F(MainWindow, CoversTheScreenAndCentresThePanel) {
  TfrmDefaultInterface form(FitMachine());
  HWND window = form.Handle();
  EXPECT_EQ(TextOf(window), L"Instalator Testowy");  // the taskbar text: the package's title
  EXPECT_FALSE(IsWindowVisible(window));   // not shown before the start-up ran
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);

  form.Show();
  Pump();
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const RECT outer = testing::ScreenRectOf(window);
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  EXPECT_EQ(outer.right, width);
  EXPECT_EQ(outer.bottom, height);
  EXPECT_TRUE(IsZoomed(window));

  // Centred with the quotient truncated: 1024 x 768 gives (298, 238), 800 x 600
  // gives (186, 154).
  const POINT panel = PlaceInParent(form.scrDefault());
  if (width == 1024) {
    EXPECT_EQ(panel.x, 298);
    EXPECT_EQ(panel.y, 238);
  } else if (width == 800) {
    EXPECT_EQ(panel.x, 186);
    EXPECT_EQ(panel.y, 154);
  } else {
    ADD_FAILURE() << "no expectation for a screen " << width << " wide";
  }
  EXPECT_EQ(SizeOf(form.scrDefault()).cx, 427);
  EXPECT_EQ(SizeOf(form.scrDefault()).cy, 292);
  // The pictures stay where they are.
  EXPECT_EQ(PlaceInParent(form.Image1()).x, 2);
  EXPECT_EQ(PlaceInParent(form.Image1()).y, 8);
  EXPECT_EQ(SizeOf(form.Image1()).cx, 275);
  EXPECT_EQ(SizeOf(form.Image1()).cy, 190);
  EXPECT_EQ(PlaceInParent(form.imgInstall()).x, 16);
  EXPECT_EQ(PlaceInParent(form.imgInstall()).y, 16);
  EXPECT_EQ(SizeOf(form.imgInstall()).cx, 180);
  EXPECT_EQ(SizeOf(form.imgInstall()).cy, 60);
  EXPECT_EQ(PlaceInParent(form.imgMotive()).x, 5);
  EXPECT_EQ(PlaceInParent(form.imgMotive()).y, 5);
  EXPECT_EQ(BitmapSize(PictureBitmap(form.imgMotive())).cx, 120);
  EXPECT_EQ(BitmapSize(PictureBitmap(form.imgMotive())).cy, 250);
  EXPECT_EQ(BitmapSize(PictureBitmap(form.imgInstall())).cx, 180);  // the design-time logo

  // The window is black where nothing lies on it.
  HDC dc = GetDC(window);
  EXPECT_EQ(GetPixel(dc, width - 10, height - 10), RGB(0, 0, 0));
  ReleaseDC(window, dc);
}

TEST_F(MainWindow, ShowingPlaysTheMediumsSoundAndClosingStopsIt) {
  archive::testing::WriteFile(medium.Path() / "medium" / "install.wav", {'R', 'I', 'F', 'F'});
  TfrmDefaultInterface form(FitMachine());
  EXPECT_EQ(LaunchFolder, medium.Medium());
  EXPECT_TRUE(machine.sounds.empty());
  form.Show();
  ASSERT_EQ(machine.sounds.size(), 1u);
  EXPECT_EQ(machine.sounds[0].first, medium.Medium() + "install.wav");
  EXPECT_EQ(machine.sounds[0].second, 9u);
  {
    WindowDriver driver(L"TfrmMessageDialog", [](HWND question) { PostKey(question, VK_RETURN); });  // "Tak"
    SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
  }
  Pump();
  EXPECT_FALSE(IsWindow(form.Handle()));
  ASSERT_EQ(machine.sounds.size(), 2u);
  EXPECT_EQ(machine.sounds[1].first, std::nullopt);
  Pump();  // takes the quit request off the queue
}

TEST_F(MainWindow, LoadsTheLogoOfTheSetupFolder) {
  // A 4 x 2 picture, 24 bits per pixel, rows padded to 12 bytes.
  const unsigned char header[54] = {'B', 'M', 78, 0, 0, 0, 0, 0, 0,  0, 54, 0, 0,
                                    0,   40,  0,  0, 0, 4, 0, 0, 0,  2, 0,  0, 0,
                                    1,   0,   24, 0, 0, 0, 0, 0, 24, 0, 0,  0};
  package.push_back(MediumEntry("install.bmp", std::string(header, header + 54) + std::string(24, '\x7F')));
  medium.WritePackage(package);
  TfrmDefaultInterface form(FitMachine());
  EXPECT_EQ(BitmapSize(PictureBitmap(form.imgInstall())).cx, 4);
  EXPECT_EQ(BitmapSize(PictureBitmap(form.imgInstall())).cy, 2);
}

TEST_F(MainWindow, UnreadableLogoIsReportedAndTheWindowStays) {
  package.push_back(MediumEntry("install.bmp", "not a picture"));
  medium.WritePackage(package);
  SeenReport seen;
  WindowDriver driver(L"TfrmInfoDialog", ReadReportThenClose(seen));
  TfrmDefaultInterface form(FitMachine());
  driver.Join();
  EXPECT_EQ(seen.caption, L"Generalny problem instalacji");
  EXPECT_EQ(seen.message, L"Instalator wykonał nieprawidłową operację.");
  ASSERT_EQ(seen.lines.size(), 2u);
  EXPECT_EQ(seen.lines[0], L"Prawdopodobnie istnieje możliwość kontynuacji.");
  EXPECT_NE(seen.lines[1].find(L"install.bmp"), std::wstring::npos);
  EXPECT_TRUE(IsWindow(form.Handle()));
  EXPECT_EQ(BitmapSize(PictureBitmap(form.imgInstall())).cx, 180);
  // The start-up went on to its first page.
  EXPECT_TRUE(GetWindowLongW(form.Pages().Panel(1), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(form.Pages().btnPrior.Enabled());
}

TEST_F(MainWindow, ThePagesStandWhereTheDesignPutsThemAndShowThePackagesTexts) {
  TfrmDefaultInterface form(FitMachine());
  WizardPages& pages = form.Pages();
  for (int page = 1; page <= 6; ++page) {
    EXPECT_EQ((GetWindowLongW(pages.Panel(page), GWL_STYLE) & WS_VISIBLE) != 0, page == 1) << page;
    EXPECT_EQ(SizeOf(pages.Panel(page)).cx, 291);
    EXPECT_EQ(SizeOf(pages.Panel(page)).cy, 250);
  }
  EXPECT_EQ(PlaceInParent(pages.Panel(1)).x, 130);
  EXPECT_EQ(PlaceInParent(pages.Panel(1)).y, 5);
  const struct {
    HWND control;
    int x, y;
  } places[] = {{pages.btnPrior.Handle(), 161, 261}, {pages.btnNext.Handle(), 249, 261},
                {pages.btnClose.Handle(), 337, 261}, {pages.txtFolder.Handle(), 62, 63},
                {pages.btnBrowse.Handle(), 253, 64},  {pages.prgInstall.Handle(), 19, 136},
                {pages.prgOverall.Handle(), 19, 156}, {pages.chkRestart.Handle(), 8, 192},
                // lower by what the first choice grew where its caption wraps
                {pages.chkReset.Handle(), 8, 208 + SizeOf(pages.chkRestart.Handle()).cy - 17}};
  for (const auto& p : places) {
    EXPECT_EQ(PlaceInParent(p.control).x, p.x);
    EXPECT_EQ(PlaceInParent(p.control).y, p.y);
  }
  // The package's Windows-1250 texts, trimmed, one line an item.
  ASSERT_EQ(pages.lsvLicense.Count(), 3);
  EXPECT_EQ(pages.lsvLicense.Item(0), "Umowa licencyjna");
  EXPECT_EQ(pages.lsvLicense.Item(1), "");
  EXPECT_EQ(pages.lsvLicense.Item(2), "Zażółć gęślą jaźń");
  ASSERT_EQ(pages.lsvReadme.Count(), 1);
  EXPECT_EQ(pages.lsvReadme.Item(0), "O produkcie");
  EXPECT_EQ(pages.btnPrior.Enabled(), false);
  EXPECT_TRUE(pages.chkRestart.Checked());
}

TEST_F(MainWindow, PageTextsAreShownWholeInTheSystemsFont) {
  TfrmDefaultInterface form(FitMachine());
  WizardPages& pages = form.Pages();
  for (TStaticMemo* memo : {&pages.memWelcomeTooltip, &pages.memLocationTooltip, &pages.memComplete})
    EXPECT_TRUE(test::ShowsWholeText(memo->EditHandle()));
  // The restart choices: each wrapped caption within its button, the second below the first.
  for (TFlatRadioButton* choice : {&pages.chkRestart, &pages.chkReset}) {
    HDC dc = GetDC(choice->Handle());
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(choice->Handle(), WM_GETFONT, 0, 0)));
    const SizeI caption = MeasureWrapped(dc, choice->Caption(), SizeOf(choice->Handle()).cx - 17);
    SelectObject(dc, previous);
    ReleaseDC(choice->Handle(), dc);
    EXPECT_LE(caption.cy + 2, SizeOf(choice->Handle()).cy) << choice->Caption();
  }
  EXPECT_GE(PlaceInParent(pages.chkReset.Handle()).y,
            PlaceInParent(pages.chkRestart.Handle()).y + SizeOf(pages.chkRestart.Handle()).cy - 1);
}

TEST_F(MainWindow, EscapeAndClosingTheWindowAskLikeCloseAndNoKeepsTheWizard) {
  TfrmDefaultInterface form(FitMachine());
  form.Show();
  form.wizard().btnNextClick();
  form.wizard().btnNextClick();
  const std::function<void()> ways[] = {
      [&] {
        MSG escape{form.Handle(), WM_KEYDOWN, VK_ESCAPE, 1};
        form.PreviewKey(escape);
      },
      [&] { SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); },  // Alt+F4, the taskbar
      [&] { SendMessageW(form.Handle(), WM_CLOSE, 0, 0); },
  };
  for (const auto& close : ways) {
    std::wstring question;
    WindowDriver driver(L"TfrmMessageDialog", [&](HWND dialog) {
      question = TextOf(testing::ChildrenOfClass(dialog, L"Static").at(0));
      PostMessageW(form.Handle(), WM_CLOSE, 0, 0);  // while it is asked: no second question
      PostKey(dialog, VK_ESCAPE);                    // "Nie"
    });
    close();
    driver.Join();
    Pump();
    EXPECT_EQ(FindWindowW(L"TfrmMessageDialog", nullptr), nullptr);
    EXPECT_EQ(question, L"Instalator Testowy");  // the question's title: the application title
    EXPECT_TRUE(IsWindow(form.Handle()));
    EXPECT_TRUE(IsWindowVisible(form.Pages().Panel(3)));
  }
}

TEST_F(MainWindow, MessagesAreHandledAFewDozenTimesASecondHoweverOftenTheBarsMove) {
  TfrmDefaultInterface form(FitMachine());
  DWORD now = 1000;
  int handled = 0;
  Win32WizardView view(form.Pages(), {.pumpMessages = [&] { ++handled; }, .clock = [&] { return now; }});
  // Twenty entries of 50 ms each, their progress told every 10 ms.
  for (int entry = 0; entry < 20; ++entry) {
    view.KeepResponsive();
    for (int step = 1; step <= 5; ++step) {
      now += 10;
      view.SetInstallPosition(step * 20);
    }
  }
  EXPECT_EQ(handled, 20);
}

TEST_F(MainWindow, TheBrowseButtonsChoiceBecomesTheFolderAndCancelKeepsIt) {
  TfrmDefaultInterface form(FitMachine());
  form.Show();
  for (int i = 0; i < 3; ++i) form.wizard().btnNextClick();
  WizardPages& pages = form.Pages();
  ASSERT_EQ(pages.txtFolder.Text(), "C:\\Aplikacja\\");
  std::string chosen = medium.Medium();
  chosen.pop_back();  // the shell gives folders without a final backslash
  std::wstring caption, prompt;
  RECT dialogRect{}, ownerRect = testing::ScreenRectOf(form.Handle());
  {
    WindowDriver driver(L"#32770", [&](HWND dialog) {
      caption = TextOf(dialog);
      prompt = TextOf(GetDlgItem(dialog, 0x3742));
      dialogRect = testing::ScreenRectOf(dialog);
      // The tree fills in its own time: select until the status line shows the folder.
      testing::WaitUntil([&] {
        SendMessageW(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(chosen.c_str()));
        Sleep(200);
        const std::wstring status = TextOf(GetDlgItem(dialog, 0x3743));
        return status.size() >= 6 && status.compare(status.size() - 6, 6, L"medium") == 0;
      });
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    pages.btnBrowse.Click();
  }
  EXPECT_EQ(caption, L"Wybierz katalog");
  EXPECT_EQ(prompt, L"Wybierz katalog, w którym zostanie zainstalowany produkt. Jeżeli katalog nie istnieje, "
                    L"zostanie utworzony.");
  const int width = dialogRect.right - dialogRect.left;
  EXPECT_EQ(dialogRect.left, ownerRect.left + (ownerRect.right - ownerRect.left) / 2 - width / 2);
  EXPECT_EQ(dialogRect.top, ownerRect.top + (ownerRect.bottom - ownerRect.top) / 4);
  EXPECT_EQ(pages.txtFolder.Text(), chosen);
  EXPECT_EQ(ProductLocation, chosen + "\\");
  EXPECT_EQ(WindowTextUtf8(pages.lblFreeSpace).rfind("Dost", 0), 0u);
  {
    WindowDriver driver(L"#32770", [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
    pages.btnBrowse.Click();
  }
  EXPECT_EQ(pages.txtFolder.Text(), chosen);
}

TEST_F(MainWindow, FailuresThatEscapeAHandlerAreReportedAndTheProgramGoesOn) {
  TfrmDefaultInterface form(FitMachine());
  SeenReport seen;
  WindowDriver driver(L"TfrmInfoDialog", ReadReportThenClose(seen));
  CallReportingFailures([] {
    SetScreenCursor(ScreenCursor::kHourglass);  // as an installation step does
    throw std::runtime_error("Disk full");
  });
  driver.Join();
  EXPECT_EQ(CurrentScreenCursor(), ScreenCursor::kDefault);
  EXPECT_EQ(seen.caption, L"Generalny problem instalacji");
  ASSERT_EQ(seen.lines.size(), 2u);
  EXPECT_EQ(seen.lines[1], L"Disk full");
}

// Runs on every test display (see CMakeLists.txt): 24 and 16 bits per pixel pass,
// 8 bits fail the colour check.
TEST(EnvironmentChecks, RealQueriesFollowTheDisplay) {
  HWND window =
      CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  Win32EnvironmentQueries queries(window);
  EXPECT_EQ(queries.CleanBoot(), 0);
  EXPECT_NE(queries.MousePresent(), 0);
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(queries.BitsPerPixel(), bits);
  if (bits > 8) {
    EXPECT_TRUE(CheckEnvironment(queries));
  } else {
    SeenReport seen;
    WindowDriver driver(L"TfrmInfoDialog", ReadReportThenClose(seen));
    EXPECT_FALSE(CheckEnvironment(queries));
    driver.Join();
    EXPECT_EQ(seen.message.rfind(L"Aktualnie twój system używa zbyt mało kolorów", 0), 0u);
  }
  DestroyWindow(window);
}

TEST(EnvironmentChecks, AFailedCheckShowsTheProblemDialog) {
  SeenReport seen;
  WindowDriver driver(L"TfrmInfoDialog", ReadReportThenClose(seen));
  FakeEnvironment lowColours(0, 1, 8);
  EXPECT_FALSE(CheckEnvironment(lowColours));
  driver.Join();
  EXPECT_EQ(seen.caption, L"Ustawienia systemu");
  EXPECT_EQ(
      seen.message,
      L"Aktualnie twój system używa zbyt mało kolorów w swojej palecie.\r\nAplikacja nie może "
      L"pracować w bieżącym trybie graficznym. Zmień ustawienia systemu i spróbuj ponownie.");
  ASSERT_EQ(seen.lines.size(), 2u);
  EXPECT_EQ(seen.lines[0], L"Wystąpił problem uniemożliwiający kontynuację.");
  EXPECT_EQ(seen.lines[1], L"Uruchomienie instalatora zostało odwołane.");
}

// In the child process of a death test: answers the window of the class when its
// text is the expected one, else ends the child with exit code 5.
void AnswerOrFail(const wchar_t* className, std::wstring text, int key) {
  std::thread([className, text, key] {
    HWND window = testing::WaitForWindow(className);
    if (!window || TextOf(window) != text) ExitProcess(5);
    PostKey(window, key);
  }).detach();
}

TEST(EndingDeathTest, FailedEnvironmentEndsTheProgramAtOnceWithExitCodeZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        AnswerOrFail(L"TfrmInfoDialog", L"Ustawienia systemu", VK_ESCAPE);
        TfrmDefaultInterface form(std::make_unique<FakeEnvironment>(1, 0, 32));
        ExitProcess(7);  // not reached: the start-up ends the program
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(EndingDeathTest, AbortInstallationReportsThenEndsWithExitCodeZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        AnswerOrFail(L"TfrmMessageDialog", L"Problem instalacji", VK_RETURN);
        AbortInstallation();
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace setuvane
