// Checks that a text control shows all of its text in the font it draws with:
// nothing cut at the right edge, and nothing below the bottom that cannot be
// scrolled to.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace setuvane::test {

// A multi-line edit (a memo's): each of its lines, without trailing blanks, fits
// its width, and lines beyond its height come with a vertical scroll bar.
inline ::testing::AssertionResult ShowsWholeText(HWND edit) {
  HDC dc = GetDC(edit);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT format{}, client{};
  SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  GetClientRect(edit, &client);
  const auto count = static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
  ::testing::AssertionResult result = ::testing::AssertionSuccess();
  for (int line = 0; line < count && result; ++line) {
    std::wstring text(512, L'\0');
    *reinterpret_cast<WORD*>(text.data()) = static_cast<WORD>(text.size());
    text.resize(static_cast<size_t>(SendMessageW(edit, EM_GETLINE, line, reinterpret_cast<LPARAM>(text.data()))));
    while (!text.empty() && text.back() == L' ') text.pop_back();
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (size.cx > format.right - format.left)
      result = ::testing::AssertionFailure() << "line " << line << " is " << size.cx << " wide, the memo "
                                             << format.right - format.left;
  }
  SelectObject(dc, previous);
  ReleaseDC(edit, dc);
  const bool scrolls = (GetWindowLongW(edit, GWL_STYLE) & WS_VSCROLL) != 0;
  if (result && count * metrics.tmHeight > client.bottom && !scrolls)
    result = ::testing::AssertionFailure() << count << " lines of " << metrics.tmHeight << " pixels in "
                                           << client.bottom << " without a scroll bar";
  return result;
}

}  // namespace setuvane::test
