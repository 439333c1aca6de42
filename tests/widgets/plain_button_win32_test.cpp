#include "widgets/plain_button.h"

#include <gtest/gtest.h>

#include "test_window_win32.h"

namespace setuvane {
namespace {

using test::At;
using test::CapturePrinted;
using test::LeftClick;
using test::Pump;
using test::TestWindow;

class PlainButtonTest : public ::testing::Test {
 protected:
  TestWindow window;
};

// A glyph strip of `width` x `height` filled with `colour`.
HBITMAP MakeBitmap(int width, int height, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT r{0, 0, width, height};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

TEST_F(PlainButtonTest, ClickNeedsAReleaseInside) {
  TPlainButton button;
  int clicks = 0;
  button.SetOnClick([&] { ++clicks; });
  ASSERT_TRUE(button.Create(window.hwnd(), 10, 10, 81, 25));
  const HWND h = button.Handle();

  // Press, wander off and back, release outside: no click, face up again.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(button.State(), ButtonState::Down);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(200, 5));
  EXPECT_EQ(button.State(), ButtonState::Up);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(button.State(), ButtonState::Down);
  SendMessageW(h, WM_LBUTTONUP, 0, At(200, 5));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button.State(), ButtonState::Up);

  LeftClick(h, 40, 25);  // the bottom edge counts as inside
  EXPECT_EQ(clicks, 1);
  LeftClick(h, 81, 10);  // the right edge does not
  EXPECT_EQ(clicks, 1);
  SendMessageW(h, WM_LBUTTONUP, 0, At(5, 5));  // a release without a press
  EXPECT_EQ(clicks, 1);

  button.SetEnabled(false);
  LeftClick(h, 5, 5);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(button.State(), ButtonState::Disabled);
}

TEST_F(PlainButtonTest, ModalResultReachesTheFormBeforeOnClick) {
  TPlainButton yes, plain;
  std::vector<int> seenInClick;
  yes.SetModalResult(6);
  yes.SetOnClick([&] { seenInClick = window.modalResults(); });
  plain.SetOnClick([&] { seenInClick = window.modalResults(); });
  ASSERT_TRUE(yes.Create(window.hwnd(), 10, 10, 81, 25));
  ASSERT_TRUE(plain.Create(window.hwnd(), 100, 10, 81, 25));
  LeftClick(yes.Handle(), 5, 5);
  EXPECT_EQ(seenInClick, (std::vector<int>{6}));
  // ModalResult 0 is sent too: the form's answer is reset before OnClick runs.
  LeftClick(plain.Handle(), 5, 5);
  EXPECT_EQ(seenInClick, (std::vector<int>{6, 0}));
}

TEST_F(PlainButtonTest, GroupKeepsOneButtonDown) {
  TPlainButton a, b, loner;
  a.SetGroupIndex(1);
  b.SetGroupIndex(1);
  ASSERT_TRUE(a.Create(window.hwnd(), 10, 10));
  ASSERT_TRUE(b.Create(window.hwnd(), 40, 10));
  ASSERT_TRUE(loner.Create(window.hwnd(), 70, 10));

  LeftClick(a.Handle(), 5, 5);
  EXPECT_TRUE(a.Down());
  EXPECT_EQ(a.State(), ButtonState::Exclusive);
  LeftClick(b.Handle(), 5, 5);
  EXPECT_TRUE(b.Down());
  EXPECT_FALSE(a.Down());
  EXPECT_EQ(a.State(), ButtonState::Up);

  // A down button of a group cannot be raised unless AllowAllUp.
  LeftClick(b.Handle(), 5, 5);
  EXPECT_TRUE(b.Down());
  b.SetDown(false);
  EXPECT_TRUE(b.Down());
  a.SetAllowAllUp(true);  // told to the whole group
  EXPECT_TRUE(b.AllowAllUp());
  LeftClick(b.Handle(), 5, 5);
  EXPECT_FALSE(b.Down());

  a.SetColor(0xFFFFFF);
  a.SetDown(true);  // set from code: drawn down at once
  EXPECT_EQ(test::CaptureScreen(a.Handle()).at(12, 12), 0xC5D6D9u);  // what the screen shows
  EXPECT_FALSE(b.Down());

  loner.SetDown(true);  // no group: never down
  EXPECT_FALSE(loner.Down());
}

TEST_F(PlainButtonTest, GlyphPictureSetsTheImageCount) {
  TPlainButton button;
  button.SetNumGlyphs(2);
  HBITMAP strip50 = MakeBitmap(50, 16, RGB(1, 2, 3));
  button.SetGlyph(strip50);
  EXPECT_EQ(button.NumGlyphs(), 2);  // 50 is no multiple of 16
  HBITMAP strip64 = MakeBitmap(64, 16, RGB(1, 2, 3));
  button.SetGlyph(strip64);
  EXPECT_EQ(button.NumGlyphs(), 4);
  HBITMAP strip80 = MakeBitmap(80, 16, RGB(1, 2, 3));
  button.SetGlyph(strip80);
  EXPECT_EQ(button.NumGlyphs(), 1);
  EXPECT_NE(button.Glyph(), strip80);  // the button keeps a copy of its own
  DeleteObject(strip50);
  DeleteObject(strip64);
  DeleteObject(strip80);
  button.SetMargin(-5);
  EXPECT_EQ(button.Margin(), -1);
}

TEST_F(PlainButtonTest, FaceAndFrameFollowTheState) {
  TPlainButton button;
  button.SetColor(0xFFFFFF);
  ASSERT_TRUE(button.Create(window.hwnd(), 10, 10, 81, 25));
  auto up = CapturePrinted(button.Handle());
  EXPECT_EQ(up.at(0, 0), 0x8396A0u);    // ColorBorder all round
  EXPECT_EQ(up.at(80, 24), 0x8396A0u);
  EXPECT_EQ(up.at(40, 3), 0xFFFFFFu);   // Color

  SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  auto down = CapturePrinted(button.Handle());
  EXPECT_EQ(down.at(0, 0), 0x000000u);  // sunken: ColorShadow top-left
  EXPECT_EQ(down.at(80, 24), 0xFFFFFFu);
  EXPECT_EQ(down.at(40, 3), 0xC5D6D9u);  // ColorDown
  SendMessageW(button.Handle(), WM_LBUTTONUP, 0, At(200, 5));
}

TEST_F(PlainButtonTest, HoverLightsTheFaceUntilTheMouseLeaves) {
  TPlainButton button;
  button.SetColor(0xFFFFFF);
  ASSERT_TRUE(button.Create(window.hwnd(), 10, 10, 81, 25));
  ASSERT_NE(GetActiveWindow(), nullptr);
  test::MoveMouseOver(button.Handle(), 20, 10);
  EXPECT_TRUE(button.Hovered());
  auto hovered = CapturePrinted(button.Handle());
  EXPECT_EQ(hovered.at(40, 3), 0xE1EAEBu);  // ColorFocused
  EXPECT_EQ(hovered.at(0, 0), 0xFFFFFFu);   // raised: ColorHighLight top-left
  EXPECT_EQ(hovered.at(80, 24), 0x000000u);

  // The shared timer notices within a few ticks that the cursor has gone.
  SetCursorPos(400, 300);
  Pump(400);
  EXPECT_FALSE(button.Hovered());
  EXPECT_EQ(CapturePrinted(button.Handle()).at(40, 3), 0xFFFFFFu);
}

TEST_F(PlainButtonTest, DisabledCaptionIsEmbossed) {
  TPlainButton button;
  button.SetColor(0xFFFFFF);
  button.SetCaption("Nie");
  ASSERT_TRUE(button.Create(window.hwnd(), 10, 10, 81, 25));
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  auto enabled = CapturePrinted(button.Handle());
  EXPECT_GT(enabled.Count(0x000000), 10);  // the caption in the font colour
  EXPECT_EQ(enabled.CountInRect(shadow, 1, 1, 80, 24), 0);

  button.SetEnabled(false);
  auto disabled = CapturePrinted(button.Handle());
  EXPECT_GT(disabled.CountInRect(shadow, 1, 1, 80, 24), 10);
  EXPECT_EQ(disabled.CountInRect(0x000000, 1, 1, 80, 24), 0);
  EXPECT_EQ(disabled.at(0, 0), 0x8396A0u);
}

TEST_F(PlainButtonTest, CaptionTextAndAccelerator) {
  TPlainButton button;
  int clicks = 0;
  button.SetOnClick([&] { ++clicks; });
  button.SetCaption("&Łącz");
  ASSERT_TRUE(button.Create(window.hwnd(), 10, 10, 81, 25));
  EXPECT_EQ(test::WindowText(button.Handle()), L"&\u0141\u0105cz");
  EXPECT_FALSE(DispatchDialogChar(window.hwnd(), L'x'));
  EXPECT_TRUE(DispatchDialogChar(window.hwnd(), L'\u0142'));  // ł, either case
  EXPECT_EQ(clicks, 1);
  button.SetEnabled(false);
  EXPECT_FALSE(DispatchDialogChar(window.hwnd(), L'\u0141'));
  EXPECT_EQ(clicks, 1);
}

// A 16 x 16 image per colour in `squares`, side by side: a square of that colour
// (4..12) on magenta, the transparent colour.
HBITMAP MakeGlyph(std::initializer_list<COLORREF> squares) {
  const int count = static_cast<int>(squares.size());
  HBITMAP bitmap = MakeBitmap(16 * count, 16, RGB(255, 0, 255));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  int i = 0;
  for (COLORREF colour : squares) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT r{16 * i + 4, 4, 16 * i + 12, 12};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    ++i;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

TEST_F(PlainButtonTest, GlyphIsDrawnTransparentAndEmbossedWhenDisabled) {
  TPlainButton button;
  button.SetColor(0xFFFFFF);
  HBITMAP glyph = MakeGlyph({RGB(0, 0, 0)});
  button.SetGlyph(glyph);
  DeleteObject(glyph);
  ASSERT_TRUE(button.Create(window.hwnd(), 10, 10, 25, 25));
  // Centred: ((25 - 16 + 1) div 2) = 5 from the top-left corner.
  auto up = CapturePrinted(button.Handle());
  EXPECT_EQ(up.at(5, 5), 0xFFFFFFu);  // magenta left out
  EXPECT_EQ(up.at(13, 13), 0x000000u);
  EXPECT_EQ(up.Count(RGB(255, 0, 255)), 0);

  button.SetEnabled(false);
  auto disabled = CapturePrinted(button.Handle());
  EXPECT_EQ(disabled.at(13, 13), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(disabled.at(17, 17), GetSysColor(COLOR_BTNHIGHLIGHT));  // shifted by (1, 1)
  EXPECT_EQ(disabled.at(5, 5), 0xFFFFFFu);
  EXPECT_EQ(disabled.Count(0x000000), 0);
}

TEST_F(PlainButtonTest, GlyphImageFollowsTheState) {
  TPlainButton button;
  button.SetColor(0xFFFFFF);
  HBITMAP glyph = MakeGlyph({RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)});
  button.SetGlyph(glyph);
  DeleteObject(glyph);
  ASSERT_EQ(button.NumGlyphs(), 3);
  ASSERT_TRUE(button.Create(window.hwnd(), 10, 10, 25, 25));
  EXPECT_EQ(CapturePrinted(button.Handle()).at(13, 13), RGB(255, 0, 0));  // up
  SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(CapturePrinted(button.Handle()).at(14, 14), RGB(0, 0, 255));  // down, offset (1, 1)
  SendMessageW(button.Handle(), WM_LBUTTONUP, 0, At(100, 5));
  button.SetEnabled(false);
  EXPECT_EQ(CapturePrinted(button.Handle()).at(13, 13), RGB(0, 255, 0));  // disabled image
}

TEST_F(PlainButtonTest, ClickHandlerMayDestroyTheButton) {
  auto button = std::make_unique<TPlainButton>();
  button->SetOnClick([&] { button.reset(); });
  ASSERT_TRUE(button->Create(window.hwnd(), 10, 10, 81, 25));
  const HWND h = button->Handle();
  LeftClick(h, 5, 5);
  EXPECT_EQ(button, nullptr);
  EXPECT_FALSE(IsWindow(h));
}

}  // namespace
}  // namespace setuvane
