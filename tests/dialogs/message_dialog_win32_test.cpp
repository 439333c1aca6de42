// The question window driven as a user would: keys, buttons, the close button and
// the menu, under Wine.
#include "dialogs/message_dialog_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "dialogs/mail_opener_win32.h"
#include "dialogs/message_routines.h"
#include "system/utf8.h"
#include "tests/dialogs/window_driver_win32.h"

namespace setuvane {
namespace {

using testing::ChildrenOfClass;
using testing::ChildWithText;
using testing::PostClick;
using testing::PostKey;
using testing::TextOf;
using testing::WindowDriver;

constexpr wchar_t kDialog[] = L"TfrmMessageDialog";
constexpr wchar_t kPlainButton[] = L"SetuvanePlainButton";

int Ask(int kind, std::function<void(HWND)> action, const std::string& text = "Treść") {
  WindowDriver driver(kDialog, std::move(action));
  const int result = ShowMessageDialog("Czy na pewno?", text, kind);
  driver.Join();
  EXPECT_TRUE(driver.found());
  return result;
}

// Presses the key; when the window is still open a second later, notes it and
// closes it with the system close (answer 2).
std::function<void(HWND)> PressThenClose(int key, std::atomic<bool>& stayedOpen) {
  return [key, &stayedOpen](HWND dialog) {
    PostKey(dialog, key);
    stayedOpen = !testing::WaitUntil([&] { return !IsWindowVisible(dialog); }, 1000);
    if (stayedOpen) PostMessageW(dialog, WM_CLOSE, 0, 0);
  };
}

std::vector<std::wstring> VisibleCaptionsLeftToRight(HWND dialog) {
  std::vector<std::pair<LONG, std::wstring>> buttons;
  for (HWND b : ChildrenOfClass(dialog, kPlainButton)) {
    if (IsWindowVisible(b)) buttons.emplace_back(testing::ScreenRectOf(b).left, TextOf(b));
  }
  std::sort(buttons.begin(), buttons.end());
  std::vector<std::wstring> captions;
  for (auto& b : buttons) captions.push_back(b.second);
  return captions;
}

TEST(MessageDialogWindow, EnterAndEscapeAnswerByKind) {
  struct Case {
    int kind;
    int key;
    int expected;  // 0: the key does nothing
  } cases[] = {{1, VK_RETURN, 1}, {1, VK_ESCAPE, 1}, {2, VK_RETURN, 1}, {2, VK_ESCAPE, 1},
               {3, VK_RETURN, 6}, {3, VK_ESCAPE, 7}, {4, VK_RETURN, 0}, {4, VK_ESCAPE, 0},
               {0, VK_RETURN, 0}, {5, VK_ESCAPE, 0}};
  for (const Case& c : cases) {
    std::atomic<bool> stayedOpen{false};
    const int result = Ask(c.kind, PressThenClose(c.key, stayedOpen));
    if (c.expected) {
      EXPECT_EQ(result, c.expected) << "kind " << c.kind << " key " << c.key;
      EXPECT_FALSE(stayedOpen) << "kind " << c.kind;
    } else {
      EXPECT_TRUE(stayedOpen) << "kind " << c.kind << " key " << c.key;
      EXPECT_EQ(result, kResultCancel);
    }
  }
}

TEST(MessageDialogWindow, ButtonsStandLeftToRightAndAnswerByCaption) {
  struct Case {
    int kind;
    std::vector<std::wstring> captions;
    std::wstring click;
    int expected;
  } cases[] = {{1, {L"OK"}, L"OK", 1},
               {2, {L"OK"}, L"OK", 1},
               {3, {L"Tak", L"Nie"}, L"Tak", 6},
               {3, {L"Tak", L"Nie"}, L"Nie", 7},
               {4, {L"Tak", L"Nie", L"Anuluj"}, L"Tak", 6},
               {4, {L"Tak", L"Nie", L"Anuluj"}, L"Nie", 7},
               {4, {L"Tak", L"Nie", L"Anuluj"}, L"Anuluj", 2}};
  for (const Case& c : cases) {
    std::vector<std::wstring> seen;
    const int result = Ask(c.kind, [&](HWND dialog) {
      seen = VisibleCaptionsLeftToRight(dialog);
      PostClick(ChildWithText(dialog, kPlainButton, c.click));
    });
    EXPECT_EQ(seen, c.captions) << "kind " << c.kind;
    EXPECT_EQ(result, c.expected) << "kind " << c.kind << " "
                                  << Utf16ToUtf8(std::u16string(c.click.begin(), c.click.end()));
  }
}

// A choice's buttons stand in the order of their captions, each as wide as it
// needs and all within the window, and answer by their place; Escape chooses none.
TEST(MessageDialogWindow, AChoiceAnswersByTheButtonsPlace) {
  const std::vector<std::string> captions = {"Zamknij programy i kontynuuj", "Ponów", "Przerwij"};
  const std::vector<std::wstring> shown = {L"Zamknij programy i kontynuuj", L"Ponów", L"Przerwij"};
  for (int choice = 0; choice <= 3; ++choice) {
    std::vector<std::wstring> seen;
    std::vector<RECT> places;
    RECT window{};
    WindowDriver driver(kDialog, [&](HWND dialog) {
      seen = VisibleCaptionsLeftToRight(dialog);
      window = testing::ScreenRectOf(dialog);
      for (HWND b : ChildrenOfClass(dialog, kPlainButton))
        if (IsWindowVisible(b)) places.push_back(testing::ScreenRectOf(b));
      if (choice == 0) PostKey(dialog, VK_ESCAPE);
      else PostClick(ChildWithText(dialog, kPlainButton, shown[static_cast<size_t>(choice) - 1]));
    });
    EXPECT_EQ(ShowChoiceDialog("Instalator", "Pliki są w użyciu.", captions), choice);
    driver.Join();
    EXPECT_EQ(seen, shown);
    for (const RECT& place : places) {
      EXPECT_GE(place.left, window.left);
      EXPECT_LE(place.right, window.right);
    }
    std::sort(places.begin(), places.end(), [](const RECT& a, const RECT& b) { return a.left < b.left; });
    ASSERT_EQ(places.size(), 3u);
    EXPECT_GT(places[0].right - places[0].left, places[1].right - places[1].left);  // the long caption's
    EXPECT_LE(places[0].right, places[1].left);
  }
}

TEST(MessageDialogWindow, KindsWithoutButtonsCloseByTheCloseButtonOrTheMenu) {
  std::vector<std::wstring> seen{L"?"};
  EXPECT_EQ(Ask(0,
                [&](HWND dialog) {
                  seen = VisibleCaptionsLeftToRight(dialog);
                  // The close button is the right one of the two glyph buttons.
                  auto glyphs = ChildrenOfClass(dialog, L"SetuvaneToolbarButton97");
                  ASSERT_EQ(glyphs.size(), 2u);
                  HWND close =
                      testing::ScreenRectOf(glyphs[0]).left > testing::ScreenRectOf(glyphs[1]).left
                          ? glyphs[0]
                          : glyphs[1];
                  PostClick(close);
                }),
            kResultCancel);
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(Ask(5,
                [](HWND dialog) {
                  PostMessageW(dialog, WM_COMMAND, TfrmMessageDialog::kCommandClose, 0);
                }),
            kResultCancel);
  // The close button also answers a question with "no".
  EXPECT_EQ(Ask(3, [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }), kResultCancel);
}

TEST(MessageDialogWindow, DropdownMenuOffersCopySendAndClose) {
  std::vector<std::wstring> entries;
  const int result = Ask(1, [&](HWND dialog) {
    auto glyphs = ChildrenOfClass(dialog, L"SetuvaneToolbarButton97");
    ASSERT_EQ(glyphs.size(), 2u);
    HWND dropdown = testing::ScreenRectOf(glyphs[0]).left < testing::ScreenRectOf(glyphs[1]).left
                        ? glyphs[0]
                        : glyphs[1];
    PostClick(dropdown);
    HWND menu = testing::WaitForWindow(L"#32768");
    ASSERT_NE(menu, nullptr);
    HMENU items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(items); ++i) {
      wchar_t text[64] = {};
      GetMenuStringW(items, i, text, 64, MF_BYPOSITION);
      entries.push_back(text);
    }
    // Up from no selection picks the last entry, "Zamknij".
    PostKey(menu, VK_UP);
    PostKey(menu, VK_RETURN);
  });
  EXPECT_EQ(entries, (std::vector<std::wstring>{L"Kopiuj", L"Wyślij", L"", L"Zamknij"}));
  EXPECT_EQ(result, kResultCancel);
}

TEST(MessageDialogWindow, ShowsTitleAndTextInPolishAndDragsByItsSurface) {
  std::wstring title, memo;
  RECT outer{};
  LRESULT stripHit = 0;
  Ask(
      1,
      [&](HWND dialog) {
        auto labels = ChildrenOfClass(dialog, L"Static");
        if (!labels.empty()) title = TextOf(labels[0]);
        auto edits = ChildrenOfClass(dialog, L"Edit");
        if (!edits.empty()) memo = TextOf(edits[0]);
        outer = testing::ScreenRectOf(dialog);
        // The top strip between the two glyph buttons acts as a caption bar.
        stripHit =
            SendMessageW(dialog, WM_NCHITTEST, 0, MAKELPARAM(outer.left + 150, outer.top + 10));
        PostKey(dialog, VK_RETURN);
      },
      "Zażółć gęślą jaźń\r\ndruga linia");
  EXPECT_EQ(title, L"Czy na pewno?");
  EXPECT_EQ(memo, L"Zażółć gęślą jaźń\r\ndruga linia");
  EXPECT_EQ(outer.right - outer.left, 303);
  EXPECT_EQ(outer.bottom - outer.top, 231);
  // No main window: centred on the screen.
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 303) / 2);
  EXPECT_EQ(stripHit, HTCAPTION);
}

void MouseInput(DWORD flags, int x = 0, int y = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.dx = x;
  input.mi.dy = y;
  SendInput(1, &input, sizeof input);
}

TEST(MessageDialogWindow, MouseDragsItByTheTopStrip) {
  RECT before{}, after{};
  const int result = Ask(1, [&](HWND dialog) {
    GetWindowRect(dialog, &before);
    SetCursorPos(before.left + 150, before.top + 10);
    Sleep(100);
    MouseInput(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 8; ++step) {
      Sleep(30);
      MouseInput(MOUSEEVENTF_MOVE, 5, 4);
    }
    Sleep(100);
    MouseInput(MOUSEEVENTF_LEFTUP);
    // The move is over when the window has gone the whole way.
    testing::WaitUntil(
        [&] {
          GetWindowRect(dialog, &after);
          return after.left - before.left == 40 && after.top - before.top == 32;
        },
        3000);
    // Keys reach the window again once the system's move loop has seen the release.
    testing::WaitUntil([&] {
      GUITHREADINFO info{};
      info.cbSize = sizeof info;
      GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
      return (info.flags & GUI_INMOVESIZE) == 0;
    });
    PostKey(dialog, VK_RETURN);
  });
  EXPECT_EQ(after.left - before.left, 40);
  EXPECT_EQ(after.top - before.top, 32);
  EXPECT_EQ(result, kResultOk);  // the drag is over: keys reach the window again
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(clipboard busy)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

TEST(MessageDialogWindow, CopyPutsOnlyTheMessageOnTheClipboard) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  // Posted messages are handled in order: the copy is done before the Enter.
  const int result = Ask(
      1,
      [](HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, TfrmMessageDialog::kCommandCopy, 0);
        PostKey(dialog, VK_RETURN);
      },
      "pierwsza\r\nostatnia");
  EXPECT_EQ(result, kResultOk);
  EXPECT_EQ(ClipboardText(), L"pierwsza\r\nostatnia");
}

TEST(MessageDialogWindow, SendHandsAnEncodedLinkToTheShell) {
  std::string link;
  SetMailLinkOpener([&](HWND, const std::string& l) -> INT_PTR {
    link = l;
    return 2;  // a failure: the question window shows nothing of its own
  });
  const int result = Ask(
      1,
      [](HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, TfrmMessageDialog::kCommandSend, 0);
        Sleep(300);
        PostKey(dialog, VK_RETURN);
      },
      "a & b\r\n#c");
  SetMailLinkOpener(nullptr);
  EXPECT_EQ(result, kResultOk);
  EXPECT_EQ(link,
            "mailto:pomoc@setuvane.example?subject=Czy%20na%20pewno%3F&body=a%20%26%20b%0D%0A%23c");
}

}  // namespace
}  // namespace setuvane
