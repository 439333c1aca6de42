#include "test_window_win32.h"

#include <cstdio>

#include "widgets/widget_messages.h"

namespace setuvane::test {
namespace {

constexpr wchar_t kTestClass[] = L"SetuvaneWidgetTestWindow";
std::vector<int> g_modalResults;

LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SETUVANE_MODALRESULT) {
    g_modalResults.push_back(static_cast<int>(wParam));
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

// One top-level window serves every test of the process: destroying an active
// window makes Wine wait for the focus to settle (two seconds each time).
TestWindow::TestWindow(int width, int height, COLORREF background) {
  static HWND shared = nullptr;
  static HBRUSH brush = nullptr;
  if (!shared) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TestProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kTestClass;
    RegisterClassW(&wc);
    shared = CreateWindowExW(0, kTestClass, L"widgets", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width,
                             height, nullptr, nullptr, wc.hInstance, nullptr);
  }
  hwnd_ = shared;
  if (brush) DeleteObject(brush);
  brush = CreateSolidBrush(background);
  SetClassLongPtrW(hwnd_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
  SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
  InvalidateRect(hwnd_, nullptr, TRUE);
  g_modalResults.clear();
  Pump();
}

// Controls are destroyed by their owners; anything left over goes here.
TestWindow::~TestWindow() {
  while (HWND child = GetWindow(hwnd_, GW_CHILD)) DestroyWindow(child);
  Pump();
}

const std::vector<int>& TestWindow::modalResults() const { return g_modalResults; }

void Pump(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(end - now) <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
  }
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

void LeftClick(HWND control, int x, int y) {
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  SendMessageW(control, WM_LBUTTONUP, 0, At(x, y));
}

void MoveMouseOver(HWND control, int x, int y) {
  POINT pt{x, y};
  ClientToScreen(control, &pt);
  SetCursorPos(pt.x, pt.y);
  SendMessageW(control, WM_MOUSEMOVE, 0, At(x, y));
}

int Capture::Count(COLORREF colour) const { return CountInRect(colour, 0, 0, width, height); }

int Capture::CountInRect(COLORREF colour, int left, int top, int right, int bottom) const {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) n += at(x, y) == colour;
  }
  return n;
}

namespace {

Capture Read(HDC dc, HBITMAP bitmap, int width, int height) {
  Capture c;
  c.width = width;
  c.height = height;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> raw(static_cast<std::size_t>(width) * height);
  GetDIBits(dc, bitmap, 0, height, raw.data(), &bi, DIB_RGB_COLORS);
  c.pixels.reserve(raw.size());
  for (DWORD p : raw) c.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  return c;
}

template <class Draw>
Capture CaptureWith(HWND hwnd, Draw draw) {
  RECT r{};
  GetClientRect(hwnd, &r);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ old = SelectObject(mem, bitmap);
  draw(mem, r);
  SelectObject(mem, old);
  Capture c = Read(mem, bitmap, r.right, r.bottom);
  DeleteObject(bitmap);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return c;
}

}  // namespace

Capture CapturePrinted(HWND control) {
  return CaptureWith(control, [&](HDC mem, const RECT&) {
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  });
}

Capture CaptureScreen(HWND window) {
  UpdateWindow(window);
  Pump(50);
  return CaptureWith(window, [&](HDC mem, const RECT& r) {
    HDC dc = GetDC(window);
    BitBlt(mem, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
  });
}

bool SaveBmp(const Capture& c, const std::string& path) {
  const int stride = (c.width * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = c.width;
  ih.biHeight = c.height;  // bottom-up rows
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biCompression = BI_RGB;
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(stride) * c.height;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fwrite(&fh, sizeof fh, 1, f);
  std::fwrite(&ih, sizeof ih, 1, f);
  std::vector<unsigned char> row(stride);
  for (int y = c.height - 1; y >= 0; --y) {
    for (int x = 0; x < c.width; ++x) {
      const COLORREF p = c.at(x, y);
      row[x * 3] = GetBValue(p);
      row[x * 3 + 1] = GetGValue(p);
      row[x * 3 + 2] = GetRValue(p);
    }
    std::fwrite(row.data(), 1, row.size(), f);
  }
  return std::fclose(f) == 0;
}

std::wstring WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

}  // namespace setuvane::test
