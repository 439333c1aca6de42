// The layer that chooses between the W and the ANSI calls. CTest runs the control
// tests twice, the second time with the ANSI calls forced (SETUVANE_ANSI_WINDOWS=1,
// the set Windows 95, 98 and Me get): the Polish texts must come out the same.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/widgets/test_window_win32.h"
#include "widgets/gdi_win32.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

using test::TestWindow;

bool AnsiForced() {
  char value[4] = {};
  return GetEnvironmentVariableA(ui::kForceAnsiVariable, value, sizeof value) == 1 && value[0] == '1';
}

const std::string kPolish = "Zażółć gęślą jaźń, ŻÓŁW Ś Ź Ć Ń";
const std::wstring kPolishWide = L"Zażółć gęślą jaźń, ŻÓŁW Ś Ź Ć Ń";

TEST(WideOrAnsi, WindowsAreOfTheChosenSetAndKeepTheirPolishTexts) {
  EXPECT_EQ(ui::AnsiCalls(), AnsiForced());  // Wine reports a Windows of the NT family
  TestWindow window;
  HWND label = ui::NewWindow(0, "STATIC", kPolish, WS_CHILD | WS_VISIBLE, 0, 0, 200, 20, window.hwnd());
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(IsWindowUnicode(label) != FALSE, !AnsiForced());
  EXPECT_TRUE(ui::IsOfClass(label, "Static"));
  EXPECT_EQ(ui::Text(label), kPolish);
  EXPECT_EQ(test::WindowText(label), kPolishWide);  // read through the W call, from either set
  ui::SetText(label, "Łódź");
  EXPECT_EQ(test::WindowText(label), L"Łódź");

  HMENU menu = CreatePopupMenu();
  ui::AppendMenuEntry(menu, 7, kPolish, nullptr);
  ui::AppendMenuSeparator(menu);
  wchar_t entry[64] = {};
  GetMenuStringW(menu, 7, entry, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(entry), kPolishWide);
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  DestroyMenu(menu);
}

TEST(WideOrAnsi, TextIsMeasuredAsTheWCallsMeasureIt) {
  ScreenDC screen;
  SelectScope font(screen.get(), DefaultControlFont());
  RECT chosen{0, 0, 400, 0}, wide{0, 0, 400, 0};
  ui::DrawTextUtf8(screen.get(), kPolish, chosen, DT_CALCRECT | DT_SINGLELINE);
  DrawTextW(screen.get(), kPolishWide.c_str(), -1, &wide, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(chosen.right, wide.right);
  EXPECT_EQ(chosen.bottom, wide.bottom);
  EXPECT_GT(ui::LineHeight(screen.get()), 0);
  EXPECT_TRUE(ui::FontFamilyInstalled("Tahoma"));
  EXPECT_FALSE(ui::FontFamilyInstalled("No Such Family Anywhere"));
}

}  // namespace
}  // namespace setuvane
