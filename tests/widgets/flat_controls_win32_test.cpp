#include <gtest/gtest.h>

#include "test_window_win32.h"
#include "widgets/flat_button.h"
#include "widgets/flat_progress_bar.h"
#include "widgets/flat_radio_button.h"
#include "widgets/toolbar_button97.h"

namespace setuvane {
namespace {

using test::At;
using test::CapturePrinted;
using test::LeftClick;
using test::TestWindow;

SIZE SizeOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

class FlatButtonTest : public ::testing::Test {
 protected:
  TestWindow window;
};

TEST_F(FlatButtonTest, ClicksOnlyWhenReleasedOverIt) {
  TFlatButton button("btnNext");
  int clicks = 0;
  button.SetOnClick([&] { ++clicks; });
  ASSERT_TRUE(button.Create(window.hwnd(), 10, 10));
  const HWND h = button.Handle();
  EXPECT_EQ(SizeOf(h).cx, 85);
  EXPECT_EQ(SizeOf(h).cy, 25);
  EXPECT_EQ(test::WindowText(h), L"btnNext");  // the name is the default caption

  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_TRUE(button.Pressed());
  EXPECT_EQ(GetCapture(), h);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, At(300, 5));
  EXPECT_FALSE(button.Pressed());  // the bevel shows that letting go here cancels
  SendMessageW(h, WM_LBUTTONUP, 0, At(300, 5));
  EXPECT_EQ(clicks, 0);
  EXPECT_NE(GetCapture(), h);

  LeftClick(h, 84, 24);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button.Pressed());
  SendMessageW(h, WM_LBUTTONUP, 0, At(5, 5));  // no press before
  EXPECT_EQ(clicks, 1);
}

TEST_F(FlatButtonTest, BevelAndCaptionColours) {
  TFlatButton button;
  button.SetCaption("Następny >");
  ASSERT_TRUE(button.Create(window.hwnd(), 10, 10));
  EXPECT_EQ(test::WindowText(button.Handle()), L"Nast\u0119pny >");
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);

  auto raised = CapturePrinted(button.Handle());
  EXPECT_EQ(raised.at(0, 0), light);
  EXPECT_EQ(raised.at(84, 24), dark);
  EXPECT_GT(raised.CountInRect(text, 1, 1, 84, 24), 10);

  SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  auto lowered = CapturePrinted(button.Handle());
  EXPECT_EQ(lowered.at(0, 0), dark);
  EXPECT_EQ(lowered.at(84, 24), light);
  SendMessageW(button.Handle(), WM_LBUTTONUP, 0, At(300, 5));

  button.SetEnabled(false);
  EXPECT_EQ(button.FontColor(), colors::kBtnShadow);
  auto disabled = CapturePrinted(button.Handle());
  EXPECT_EQ(disabled.CountInRect(text, 1, 1, 84, 24), 0);
  EXPECT_GT(disabled.CountInRect(dark, 1, 1, 84, 24), 10);
  button.SetEnabled(true);
  EXPECT_EQ(button.FontColor(), colors::kBtnText);
}

TEST_F(FlatButtonTest, AcceleratorIsTakenEvenWhenDisabled) {
  TFlatButton button;
  int clicks = 0;
  button.SetOnClick([&] { ++clicks; });
  button.SetCaption("&Zamknij");
  ASSERT_TRUE(button.Create(window.hwnd(), 10, 10));
  EXPECT_TRUE(DispatchDialogChar(window.hwnd(), L'z'));
  EXPECT_EQ(clicks, 1);
  button.SetEnabled(false);
  EXPECT_TRUE(DispatchDialogChar(window.hwnd(), L'Z'));
  EXPECT_EQ(clicks, 1);
  LeftClick(button.Handle(), 5, 5);
  EXPECT_EQ(clicks, 1);
}

class ProgressBarTest : public ::testing::Test {
 protected:
  TestWindow window;
  static constexpr COLORREF kElement = 0x996633;
  static constexpr COLORREF kBorder = 0x8396A0;
};

TEST_F(ProgressBarTest, BlocksShowWholeSteps) {
  TFlatProgressBar bar;
  bar.SetColor(0xFFFFFF);
  ASSERT_TRUE(bar.Create(window.hwnd(), 10, 10));
  EXPECT_EQ(SizeOf(bar.Handle()).cx, 147);  // 16 blocks fit exactly
  bar.SetPosition(50);
  auto half = CapturePrinted(bar.Handle());
  EXPECT_EQ(half.at(0, 0), kBorder);
  EXPECT_EQ(half.at(1, 1), 0xFFFFFFu);
  EXPECT_EQ(half.at(2 + 7 * 9 + 4, 8), kElement);   // block 8
  EXPECT_EQ(half.at(2 + 7 * 9 + 8, 8), 0xFFFFFFu);  // the gap after it
  EXPECT_EQ(half.at(2 + 8 * 9 + 4, 8), 0xFFFFFFu);  // block 9 not drawn
  bar.SetPosition(100);
  auto full = CapturePrinted(bar.Handle());
  EXPECT_EQ(full.at(2 + 15 * 9 + 4, 8), kElement);
  EXPECT_EQ(full.CountInRect(kElement, 0, 8, 147, 9), 16 * 8);
}

TEST_F(ProgressBarTest, BlockModeSnapsTheLength) {
  TFlatProgressBar narrow, vertical;
  ASSERT_TRUE(narrow.Create(window.hwnd(), 10, 40, 10, 16));
  EXPECT_EQ(SizeOf(narrow.Handle()).cx, 12);
  vertical.SetOrientation(pbVertical);
  ASSERT_TRUE(vertical.Create(window.hwnd(), 200, 10, 16, 100));
  EXPECT_EQ(SizeOf(vertical.Handle()).cy, 93);  // 3 + 10 * 9
  vertical.SetPosition(100);
  auto picture = CapturePrinted(vertical.Handle());
  EXPECT_EQ(picture.at(8, 93 - 3), kElement);  // the first block at the bottom
  EXPECT_EQ(picture.at(8, 2), kElement);
  // Smooth bars keep any size.
  TFlatProgressBar smooth;
  smooth.SetSmooth(true);
  ASSERT_TRUE(smooth.Create(window.hwnd(), 10, 70, 100, 16));
  EXPECT_EQ(SizeOf(smooth.Handle()).cx, 100);
}

TEST_F(ProgressBarTest, AdvancedBorderDerivesFromTheBackground) {
  TFlatProgressBar bar;
  bar.SetUseAdvColors(true);
  ASSERT_TRUE(bar.Create(window.hwnd(), 10, 10));
  EXPECT_EQ(bar.ColorBorder(), 0xD4D4D4u);
  EXPECT_EQ(CapturePrinted(bar.Handle()).at(0, 0), 0xD4D4D4u);
  EXPECT_EQ(CapturePrinted(bar.Handle()).at(5, 5), 0xFFFFFFu);
}

// A panel without a class brush that paints itself and answers colour requests.
LRESULT CALLBACK TealPanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  static HBRUSH teal = CreateSolidBrush(RGB(0, 128, 128));
  if (msg == WM_CTLCOLORSTATIC) return reinterpret_cast<LRESULT>(teal);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(ProgressBarTest, ParentColourComesFromTheParentsAnswer) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = TealPanelProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SetuvaneTealPanel";
  RegisterClassW(&wc);
  HWND panel = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, window.hwnd(),
                               nullptr, wc.hInstance, nullptr);
  {
    TFlatProgressBar bar;
    ASSERT_TRUE(bar.Create(panel, 10, 10));
    EXPECT_EQ(CapturePrinted(bar.Handle()).at(5, 5), RGB(0, 128, 128));
  }
  DestroyWindow(panel);
}

TEST_F(ProgressBarTest, SmoothBarFillsItsShare) {
  TFlatProgressBar bar;
  bar.SetSmooth(true);
  bar.SetColor(0xFFFFFF);
  bar.SetColorElement(0xC0C0C0);
  bar.SetMax(0);  // Min and Max do not change the scale
  bar.SetPosition(50);
  ASSERT_TRUE(bar.Create(window.hwnd(), 19, 136, 255, 16));
  auto half = CapturePrinted(bar.Handle());
  EXPECT_EQ(half.at(2, 8), 0xC0C0C0u);
  EXPECT_EQ(half.at(125, 8), 0xC0C0C0u);  // right edge (255 - 2) * 50 div 100 = 126
  EXPECT_EQ(half.at(126, 8), 0xFFFFFFu);
  EXPECT_EQ(half.at(126, 1), 0xFFFFFFu);
  bar.SetPosition(0);
  EXPECT_EQ(CapturePrinted(bar.Handle()).Count(0xC0C0C0), 0);
  bar.SetPosition(150);  // not clamped: runs on over the border
  EXPECT_EQ(CapturePrinted(bar.Handle()).at(254, 8), 0xC0C0C0u);
  EXPECT_EQ(bar.Position(), 150);
}

class RadioButtonTest : public ::testing::Test {
 protected:
  TestWindow window;
};

TEST_F(RadioButtonTest, CheckingOneUnchecksTheGroup) {
  TFlatRadioButton restart, reset, other;
  int restartClicks = 0, resetClicks = 0;
  restart.SetOnClick([&] { ++restartClicks; });
  reset.SetOnClick([&] { ++resetClicks; });
  other.SetGroupIndex(2);
  ASSERT_TRUE(restart.Create(window.hwnd(), 8, 192, 265, 17));
  ASSERT_TRUE(reset.Create(window.hwnd(), 8, 208, 265, 17));
  ASSERT_TRUE(other.Create(window.hwnd(), 8, 230));
  other.SetChecked(true);
  restart.SetChecked(true);
  EXPECT_EQ(restartClicks, 1);
  EXPECT_TRUE(restart.TabStop());

  LeftClick(reset.Handle(), 265, 17);  // both far edges count as inside
  EXPECT_TRUE(reset.Checked());
  EXPECT_FALSE(restart.Checked());
  EXPECT_FALSE(restart.TabStop());
  EXPECT_TRUE(other.Checked());  // another group
  EXPECT_EQ(resetClicks, 1);
  EXPECT_EQ(restartClicks, 1);
  EXPECT_EQ(GetFocus(), reset.Handle());

  LeftClick(reset.Handle(), 5, 5);  // already checked: no second click
  EXPECT_EQ(resetClicks, 1);
  SendMessageW(restart.Handle(), WM_KEYDOWN, VK_SPACE, 0);  // the keyboard checks too
  EXPECT_TRUE(restart.Checked());
  EXPECT_FALSE(reset.Checked());
  reset.SetChecked(true);
  LeftClick(restart.Handle(), 266, 5);  // outside
  EXPECT_FALSE(restart.Checked());
}

TEST_F(RadioButtonTest, CircleDotAndFocus) {
  TFlatRadioButton radio;
  radio.SetColor(0xC0C0C0);
  radio.SetCaption("Tak, mogę teraz ponownie uruchomić komputer.");
  ASSERT_TRUE(radio.Create(window.hwnd(), 8, 100, 265, 17));
  EXPECT_EQ(test::WindowText(radio.Handle()), L"Tak, mog\u0119 teraz ponownie uruchomi\u0107 komputer.");
  auto plain = CapturePrinted(radio.Handle());
  EXPECT_EQ(plain.at(0, 0), 0xC0C0C0u);
  EXPECT_EQ(plain.at(6, 8), 0xC0C0C0u);  // inside the circle: Color
  EXPECT_EQ(plain.at(6, 3), 0x8396A0u);  // top of the circle: ColorBorder

  radio.SetChecked(true);
  auto checked = CapturePrinted(radio.Handle());
  EXPECT_EQ(checked.at(6, 8), 0x000000u);  // the dot
  EXPECT_EQ(checked.at(6, 5), 0xC0C0C0u);

  SetFocus(radio.Handle());
  EXPECT_TRUE(radio.Focused());
  EXPECT_EQ(CapturePrinted(radio.Handle()).at(6, 5), 0xFFFFFFu);  // ColorFocused
  SetFocus(window.hwnd());
  EXPECT_FALSE(radio.Focused());

  radio.SetEnabled(false);
  auto disabled = CapturePrinted(radio.Handle());
  EXPECT_EQ(disabled.at(6, 8), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_GT(disabled.CountInRect(GetSysColor(COLOR_BTNHIGHLIGHT), 16, 0, 265, 17), 10);
  LeftClick(radio.Handle(), 5, 5);
  EXPECT_TRUE(radio.Checked());
}

TEST_F(RadioButtonTest, HoverLightsTheCircleUntilTheMouseLeaves) {
  TFlatRadioButton radio;
  radio.SetColor(0xC0C0C0);
  ASSERT_TRUE(radio.Create(window.hwnd(), 8, 100, 121, 17));
  test::MoveMouseOver(radio.Handle(), 30, 8);
  EXPECT_TRUE(radio.Hovered());
  EXPECT_EQ(CapturePrinted(radio.Handle()).at(6, 8), 0xFFFFFFu);  // ColorFocused
  SendMessageW(radio.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(30, 8));
  EXPECT_EQ(CapturePrinted(radio.Handle()).at(6, 5), 0xC5D6D9u);  // ColorDown while pressed
  SendMessageW(radio.Handle(), WM_LBUTTONUP, 0, At(30, 8));
  EXPECT_TRUE(radio.Checked());
  SetFocus(window.hwnd());
  SetCursorPos(450, 300);
  test::Pump(400);
  EXPECT_FALSE(radio.Hovered());
  EXPECT_EQ(CapturePrinted(radio.Handle()).at(6, 5), 0xC0C0C0u);
}

TEST_F(RadioButtonTest, AdvancedColoursDeriveFromTheParent) {
  TFlatRadioButton radio;
  radio.SetUseAdvColors(true);  // the white test window is the parent's colour
  ASSERT_TRUE(radio.Create(window.hwnd(), 8, 100, 121, 17));
  EXPECT_TRUE(radio.ParentColor());
  EXPECT_EQ(radio.Color(), 0xFFFFFFu);
  EXPECT_EQ(radio.ColorBorder(), 0xD4D4D4u);  // L 240 + 10 - 50 = 200
  EXPECT_EQ(radio.ColorDown(), 0xFFFFFFu);
  radio.SetAdvColorBorder(0);  // 0 percent keeps the current colour
  EXPECT_EQ(radio.ColorBorder(), 0xD4D4D4u);
}

TEST_F(RadioButtonTest, RightLayoutPutsTheCircleRight) {
  TFlatRadioButton radio;
  radio.SetColor(0xFFFFFF);
  radio.SetLayout(radioRight);
  radio.SetChecked(true);
  ASSERT_TRUE(radio.Create(window.hwnd(), 8, 100, 121, 17));
  auto picture = CapturePrinted(radio.Handle());
  EXPECT_EQ(picture.at(121 - 11 + 5, 8), 0x000000u);
  EXPECT_EQ(picture.at(6, 8), 0xFFFFFFu);
}

class ToolbarButtonTest : public ::testing::Test {
 protected:
  TestWindow window;
};

TEST_F(ToolbarButtonTest, FlatUntilHoveredAndClicksInside) {
  TToolbarButton97 browse;
  int clicks = 0;
  browse.SetOnClick([&] { ++clicks; });
  browse.SetCaption("...");
  browse.SetHandCursor(true);
  browse.SetHint("Wybierz katalog");
  ASSERT_TRUE(browse.Create(window.hwnd(), 253, 64));
  EXPECT_EQ(SizeOf(browse.Handle()).cx, 23);
  EXPECT_TRUE(browse.HasTooltip());
  const COLORREF white = 0xFFFFFF;
  EXPECT_EQ(CapturePrinted(browse.Handle()).at(0, 0), white);  // no border at rest

  test::MoveMouseOver(browse.Handle(), 5, 5);
  EXPECT_TRUE(browse.Hovered());
  EXPECT_EQ(CapturePrinted(browse.Handle()).at(22, 21), GetSysColor(COLOR_BTNSHADOW));

  SendMessageW(browse.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_TRUE(browse.Pressed());
  SendMessageW(browse.Handle(), WM_LBUTTONUP, 0, At(50, 5));
  EXPECT_EQ(clicks, 0);
  LeftClick(browse.Handle(), 5, 5);
  EXPECT_EQ(clicks, 1);
  browse.SetEnabled(false);
  LeftClick(browse.Handle(), 5, 5);
  EXPECT_EQ(clicks, 1);
  SetCursorPos(450, 300);
}

TEST_F(ToolbarButtonTest, TheCaptionIsDrawnWhole) {
  // Where the system draws a text wider than it measures it (the dots of Wine's
  // Tahoma), the caption still shows whole: three dots, not two.
  TToolbarButton97 browse;
  browse.SetCaption("...");
  ASSERT_TRUE(browse.Create(window.hwnd(), 253, 64));
  const auto picture = CapturePrinted(browse.Handle());
  int dots = 0;
  bool inDot = false;
  for (int x = 0; x < picture.width; ++x) {
    bool ink = false;
    for (int y = 0; y < picture.height; ++y) ink |= picture.at(x, y) != 0xFFFFFFu;
    dots += ink && !inDot;
    inDot = ink;
  }
  EXPECT_EQ(dots, 3);
}

}  // namespace
}  // namespace setuvane
