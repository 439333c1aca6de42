// The problem dialog driven under Wine: the details area, the keys, the lines and
// the e-mail report.
#include <gtest/gtest.h>

#include <atomic>

#include "dialogs/application_title.h"
#include "dialogs/mail_opener_win32.h"
#include "dialogs/message_routines.h"
#include "system/utf8.h"
#include "tests/dialogs/window_driver_win32.h"

namespace setuvane {
namespace {

using testing::ChildrenOfClass;
using testing::ChildWithText;
using testing::HeightOf;
using testing::PostClick;
using testing::PostKey;
using testing::TextOf;
using testing::WaitUntil;
using testing::WindowDriver;

constexpr wchar_t kDialog[] = L"TfrmInfoDialog";
constexpr wchar_t kFlatButton[] = L"SetuvaneFlatButton";

void Report(const std::string& title, const std::string& hint, const std::string& details,
            std::function<void(HWND)> action) {
  WindowDriver driver(kDialog, std::move(action));
  ShowProblemDialog(title, "Nieprawidłowy źródłowy pakiet instalacji.", hint, details);
  driver.Join();
  EXPECT_TRUE(driver.found());
}

HWND SendButton(HWND dialog) { return ChildWithText(dialog, kFlatButton, L"Wyślij"); }
HWND DetailsButton(HWND dialog) { return ChildWithText(dialog, kFlatButton, L"Szczegóły"); }
HWND List(HWND dialog) { return ChildrenOfClass(dialog, L"ListBox").at(0); }

int SeparatorHeight(HWND dialog) {
  auto bevels = ChildrenOfClass(dialog, L"SetuvaneBevel");
  return bevels.empty() ? -1 : HeightOf(bevels[0]);
}

TEST(ProblemDialogWindow, DetailsOpenAndCloseWithTheButtonAndEnter) {
  struct Step {
    int height, separator;
    bool send;
  };
  std::vector<Step> steps;
  RECT first{}, later{}, client{};
  Report(
      "Problem instalacji", "Upewnij się że instalacja nie została uszkodzona", "E-1", [&](HWND d) {
        GetClientRect(d, &client);
        auto note = [&] {
          steps.push_back({HeightOf(d), SeparatorHeight(d), IsWindowVisible(SendButton(d)) != 0});
        };
        GetWindowRect(d, &first);
        note();
        PostKey(d, VK_RETURN);
        WaitUntil([&] { return IsWindowVisible(SendButton(d)) != 0; });
        note();
        PostKey(d, VK_RETURN);
        WaitUntil([&] { return !IsWindowVisible(SendButton(d)); });
        note();
        PostClick(DetailsButton(d));
        WaitUntil([&] { return IsWindowVisible(SendButton(d)) != 0; });
        note();
        GetWindowRect(d, &later);
        PostKey(d, VK_ESCAPE);
      });
  EXPECT_EQ(client.right, 400);  // the design client area it opens with
  EXPECT_EQ(client.bottom, 95);
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_FALSE(steps[0].send);
  EXPECT_EQ(steps[0].separator, 80);
  EXPECT_EQ(steps[1].height, 304);
  EXPECT_EQ(steps[1].separator, 258);
  EXPECT_TRUE(steps[1].send);
  EXPECT_EQ(steps[2].height, 120);
  EXPECT_EQ(steps[2].separator, 80);
  EXPECT_FALSE(steps[2].send);
  EXPECT_EQ(steps[3].height, 304);
  EXPECT_TRUE(steps[3].send);
  // Width and top edge stay; the dialog opened centred on the screen.
  EXPECT_EQ(later.top, first.top);
  EXPECT_EQ(later.right - later.left, first.right - first.left);
  EXPECT_EQ(first.left, (GetSystemMetrics(SM_CXSCREEN) - (first.right - first.left)) / 2);
}

TEST(ProblemDialogWindow, CaptionHintAndDetails) {
  SetApplicationTitle("Instalator Aplikacji");
  struct Case {
    std::string title, hint, details;
    std::wstring caption;
    bool detailsEnabled;
    int lines;
  } cases[] = {{"   ", "przyczyna", "szczegóły", L"Instalator Aplikacji", true, 2},
               {" A ", "", "szczegóły", L" A ", false, 0},
               {"Tytuł", " ", "", L"Tytuł", true, 2}};
  for (const Case& c : cases) {
    std::wstring caption, message;
    bool enabled = false;
    int lines = -1;
    int heightAfterEnter = 0;
    Report(c.title, c.hint, c.details, [&](HWND d) {
      caption = TextOf(d);
      message = TextOf(ChildrenOfClass(d, L"Static").at(0));
      enabled = IsWindowEnabled(DetailsButton(d)) != 0;
      lines = static_cast<int>(SendMessageW(List(d), LB_GETCOUNT, 0, 0));
      // Enter opens the details even when "Szczegóły" is disabled.
      PostKey(d, VK_RETURN);
      WaitUntil([&] { return HeightOf(d) == 304; });
      heightAfterEnter = HeightOf(d);
      PostKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(caption, c.caption);
    EXPECT_EQ(message, L"Nieprawidłowy źródłowy pakiet instalacji.");
    EXPECT_EQ(enabled, c.detailsEnabled);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(heightAfterEnter, 304);
  }
  SetApplicationTitle("Setuvane");
}

TEST(ProblemDialogWindow, LineHeightsFollowTheMeasuredText) {
  const std::string longText(600, 'x');  // longer than 255 characters: measured whole
  std::string wrapped;
  for (int i = 0; i < 12; ++i) wrapped += "słowo słowo słowo ";
  int shortHeight = 0, longHeight = 0, expected = 0;
  Report("T", "krótki", wrapped, [&](HWND d) {
    HWND list = List(d);
    shortHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    longHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 1, 0));
    // The same measurement by hand: wrapped to the list's width less 24.
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    RECT r{0, 0, testing::ScreenRectOf(list).right - testing::ScreenRectOf(list).left - 24, 2};
    const std::u16string text = Utf8ToUtf16(wrapped);
    const int h = DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), -1, &r,
                            DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    expected = h + 6;
    PostKey(d, VK_ESCAPE);
  });
  EXPECT_EQ(shortHeight, 26);
  EXPECT_GT(longHeight, 26);
  EXPECT_EQ(longHeight, expected);
}

TEST(ProblemDialogWindow, SelectedLineShowsItsIconOnTheHighlightColour) {
  COLORREF corner = 0, centre = 0;
  Report("T", "przyczyna", "szczegóły", [&](HWND d) {
    HWND list = List(d);
    PostKey(d, VK_RETURN);
    WaitUntil([&] { return HeightOf(d) == 304; });
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Sleep(200);
    HDC dc = GetDC(list);
    corner = GetPixel(dc, 4, 2);          // the icon's corner: its key colour
    centre = GetPixel(dc, 4 + 3, 2 + 8);  // the red disc left of its mark
    ReleaseDC(list, dc);
    PostKey(d, VK_ESCAPE);
  });
  EXPECT_EQ(corner, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_NE(corner, RGB(0, 128, 128));
  EXPECT_EQ(GetGValue(centre), 0);
  EXPECT_GT(GetRValue(centre), 100);
}

TEST(ProblemDialogWindow, SendHandsTheReportToTheShell) {
  std::string link;
  std::atomic<bool> opened{false};
  SetMailLinkOpener([&](HWND, const std::string& l) -> INT_PTR {
    link = l;
    opened = true;
    return 42;  // the shell took it: nothing is shown
  });
  bool noticeShown = true;
  Report("T", "h", "d", [&](HWND d) {
    PostKey(d, VK_RETURN);
    WaitUntil([&] { return HeightOf(d) == 304; });
    PostClick(SendButton(d));
    WaitUntil([&] { return opened.load(); });
    noticeShown = testing::WaitForWindow(L"TfrmMessageDialog", nullptr, 500) != nullptr;
    PostKey(d, VK_ESCAPE);
  });
  EXPECT_FALSE(noticeShown);
  EXPECT_EQ(link, "mailto:pomoc@setuvane.example?subject=T&body=%5Bproblem%5D%3Ah%5Bdetails%5D%3Ad");
  SetMailLinkOpener(nullptr);
}

TEST(ProblemDialogWindow, ShellRefusalShowsTheNotice) {
  std::string link;
  SetMailLinkOpener([&](HWND, const std::string& l) -> INT_PTR {
    link = l;
    return 2;
  });
  std::wstring noticeTitle, noticeText;
  Report("Problem & co", "a#b", "linia 1\r\nlinia 2", [&](HWND d) {
    PostKey(d, VK_RETURN);
    WaitUntil([&] { return HeightOf(d) == 304; });
    // The notice stacks above the dialog; "OK" closes it and the dialog stays.
    WindowDriver notice(L"TfrmMessageDialog", [&](HWND m) {
      noticeTitle = TextOf(m);
      auto edits = ChildrenOfClass(m, L"Edit");
      if (!edits.empty()) noticeText = TextOf(edits[0]);
      PostKey(m, VK_RETURN);
    });
    PostClick(SendButton(d));
    notice.Join();
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(d));
    PostKey(d, VK_ESCAPE);
  });
  SetMailLinkOpener(nullptr);
  EXPECT_EQ(link,
            "mailto:pomoc@setuvane.example?subject=Problem%20%26%20co"
            "&body=%5Bproblem%5D%3Aa%23b%5Bdetails%5D%3Alinia%201%0D%0Alinia%202");
  EXPECT_EQ(noticeTitle, L"Setuvane");
  EXPECT_EQ(noticeText, L"Wysłanie komunikatu producentowi okazało się niemożliwe.");
}

}  // namespace
}  // namespace setuvane
