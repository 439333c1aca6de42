// A top-level test window that holds the controls under test, and the helpers the
// window tests share: message pumping, mouse messages, and pixel captures.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "widgets/colors.h"

namespace setuvane::test {

class TestWindow {
 public:
  TestWindow(int width = 480, int height = 360, COLORREF background = RGB(255, 255, 255));
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  // Modal results the window received from plain buttons, in order.
  const std::vector<int>& modalResults() const;

 private:
  HWND hwnd_ = nullptr;
};

// Handles the waiting messages, then keeps pumping for `ms` milliseconds.
void Pump(int ms = 0);

LPARAM At(int x, int y);
void LeftClick(HWND control, int x, int y);  // down then up at the same point
void MoveMouseOver(HWND control, int x, int y);  // cursor there, then WM_MOUSEMOVE

// A picture of a control's client area as the control paints it (WM_PRINTCLIENT),
// or as it is on screen (from the window DC) for controls that wrap system ones.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  int Count(COLORREF colour) const;
  int CountInRect(COLORREF colour, int left, int top, int right, int bottom) const;
};
Capture CapturePrinted(HWND control);
Capture CaptureScreen(HWND window);

// Saves a capture as a 24-bit BMP file.
bool SaveBmp(const Capture& capture, const std::string& path);

std::wstring WindowText(HWND hwnd);

}  // namespace setuvane::test
