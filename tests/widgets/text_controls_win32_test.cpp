#include <gtest/gtest.h>

#include <vector>

#include "test_window_win32.h"
#include "tests/widgets/text_fit_win32.h"
#include "widgets/edit97.h"
#include "widgets/static_memo.h"

namespace setuvane {
namespace {

using test::At;
using test::TestWindow;

// True when the thread's caret belongs to `hwnd` and is seen blinking on screen:
// the pixels under it change over a little more than two blink periods.
// (GetGUIThreadInfo cannot tell: Wine reports every caret as blinking.)
bool CaretVisibleIn(HWND hwnd) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || info.hwndCaret != hwnd) return false;
  const RECT c = info.rcCaret;
  std::vector<COLORREF> first;
  const int samples = static_cast<int>(2 * GetCaretBlinkTime() / 100) + 3;
  for (int i = 0; i < samples; ++i) {
    const auto picture = test::CaptureScreen(hwnd);
    std::vector<COLORREF> under;
    for (int y = c.top; y < c.bottom && y < picture.height; ++y) {
      for (int x = c.left; x < c.right && x < picture.width; ++x) under.push_back(picture.at(x, y));
    }
    if (i == 0) {
      first = under;
    } else if (under != first) {
      return true;
    }
    test::Pump(100);
  }
  return false;
}

class StaticMemoTest : public ::testing::Test {
 protected:
  TestWindow window;
};

TEST_F(StaticMemoTest, ReadOnlyBorderlessAndNoTabStop) {
  TStaticMemo memo;
  ASSERT_TRUE(memo.Create(window.hwnd(), 48, 24, 241, 137));
  const HWND edit = memo.EditHandle();
  const LONG_PTR style = GetWindowLongPtrW(edit, GWL_STYLE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_FALSE(style & WS_BORDER);
  EXPECT_FALSE(style & WS_TABSTOP);
  EXPECT_FALSE(GetWindowLongPtrW(memo.Handle(), GWL_STYLE) & WS_TABSTOP);

  memo.SetText("abc");
  SendMessageW(edit, WM_CHAR, 'x', 0);
  EXPECT_EQ(memo.Text(), "abc");
}

TEST_F(StaticMemoTest, LinesAndPolishText) {
  TStaticMemo memo;
  ASSERT_TRUE(memo.Create(window.hwnd(), 48, 24, 241, 137));
  const std::string text = "Czy przerwać?\r\nInstalacja nie została ukończona.";
  memo.SetText(text);
  EXPECT_EQ(memo.Text(), text);
  EXPECT_EQ(SendMessageW(memo.EditHandle(), EM_GETLINECOUNT, 0, 0), 2);
  // The host passes the text messages on to the edit.
  EXPECT_EQ(test::WindowText(memo.Handle()), test::WindowText(memo.EditHandle()));

  memo.SetText("one\ntwo\rthree");  // lone breaks still start new lines
  EXPECT_EQ(SendMessageW(memo.EditHandle(), EM_GETLINECOUNT, 0, 0), 3);
  EXPECT_EQ(memo.Text(), "one\r\ntwo\r\nthree");

  memo.SetLines({"a", "", "b"});
  EXPECT_EQ(memo.Text(), "a\r\n\r\nb");
  // Long lines wrap inside the width.
  memo.SetText(std::string(200, 'w'));
  EXPECT_GT(SendMessageW(memo.EditHandle(), EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(StaticMemoTest, ALineTooWideWrapsWithItsParagraphAndALongTextScrolls) {
  TStaticMemo memo;
  ASSERT_TRUE(memo.Create(window.hwnd(), 10, 10, 120, 60));
  memo.SetLines(
      {"Krótki wiersz", "", "Ten wiersz jest o wiele za długi na tę notatkę, ", "a ten go kończy.", "", "Koniec"});
  EXPECT_EQ(memo.Text(),
            "Krótki wiersz\r\n\r\nTen wiersz jest o wiele za długi na tę notatkę, a ten go "
            "kończy.\r\n\r\nKoniec");
  EXPECT_TRUE(test::ShowsWholeText(memo.EditHandle()));
  EXPECT_TRUE(GetWindowLongW(memo.EditHandle(), GWL_STYLE) & WS_VSCROLL);
  memo.SetText("Koniec");
  EXPECT_FALSE(GetWindowLongW(memo.EditHandle(), GWL_STYLE) & WS_VSCROLL);
}

TEST_F(StaticMemoTest, NeverShowsACaret) {
  // The check itself: an ordinary edit with the focus shows its caret.
  HWND plainEdit = CreateWindowExW(0, L"EDIT", L"abc", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, 300, 10,
                                   100, 40, window.hwnd(), nullptr, nullptr, nullptr);
  SetFocus(plainEdit);
  EXPECT_TRUE(CaretVisibleIn(plainEdit));
  DestroyWindow(plainEdit);

  TStaticMemo memo;
  memo.SetText("Wybierz katalog");
  ASSERT_TRUE(memo.Create(window.hwnd(), 11, 187, 273, 55));
  SetFocus(memo.Handle());  // the host hands the focus to the edit
  EXPECT_EQ(GetFocus(), memo.EditHandle());
  EXPECT_FALSE(CaretVisibleIn(memo.EditHandle()));

  SetFocus(window.hwnd());
  SendMessageW(memo.EditHandle(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 5));
  SendMessageW(memo.EditHandle(), WM_LBUTTONUP, 0, At(10, 5));
  test::Pump(50);
  EXPECT_EQ(GetFocus(), memo.EditHandle());
  EXPECT_FALSE(CaretVisibleIn(memo.EditHandle()));
  SetFocus(window.hwnd());
}

TEST_F(StaticMemoTest, PaintsInItsOwnColours) {
  TStaticMemo memo;
  memo.SetColor(0xFFFFFF);
  memo.SetFontColor(colors::kBtnShadow);
  memo.SetText("Witamy w instalacji");
  ASSERT_TRUE(memo.Create(window.hwnd(), 8, 32, 279, 40));
  auto picture = test::CaptureScreen(memo.EditHandle());
  EXPECT_EQ(picture.at(270, 35), 0xFFFFFFu);
  EXPECT_GT(picture.Count(GetSysColor(COLOR_BTNSHADOW)), 10);
  EXPECT_EQ(picture.Count(0x000000), 0);
}

class Edit97Test : public ::testing::Test {
 protected:
  TestWindow window;
};

TEST_F(Edit97Test, ChangesAreReported) {
  TEdit97 folder;
  int changes = 0;
  folder.SetOnChange([&] { ++changes; });
  ASSERT_TRUE(folder.Create(window.hwnd(), 62, 63, 187, 19));
  const std::string path = "C:\\Program Files\\Księgowość\\";
  folder.SetText(path);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(folder.Text(), path);
  folder.SetText(path);  // the same text: no change
  EXPECT_EQ(changes, 1);

  SetFocus(folder.Handle());
  EXPECT_EQ(GetFocus(), folder.EditHandle());
  SendMessageW(folder.EditHandle(), EM_SETSEL, 1000, 1000);
  SendMessageW(folder.EditHandle(), WM_CHAR, L'\u017C', 1);  // ż typed at the caret
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(folder.Text(), path + "ż");
  EXPECT_EQ(test::WindowText(folder.Handle()).back(), L'\u017C');
  SetFocus(window.hwnd());
}

TEST_F(Edit97Test, FlatBorderDarkensWithFocus) {
  TEdit97 edit;
  ASSERT_TRUE(edit.Create(window.hwnd(), 62, 63, 187, 19));
  auto idle = test::CapturePrinted(edit.Handle());
  EXPECT_EQ(idle.at(0, 0), 0x8396A0u);
  EXPECT_EQ(idle.at(186, 18), 0x8396A0u);
  SetFocus(edit.Handle());
  auto focused = test::CapturePrinted(edit.Handle());
  EXPECT_NE(focused.at(0, 0), 0x8396A0u);
  SetFocus(window.hwnd());

  edit.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(edit.EditHandle()));
}

}  // namespace
}  // namespace setuvane
