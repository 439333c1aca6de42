// Drives modal windows from a helper thread: waits for a visible top-level window
// of a class to appear, then acts on it with posted messages (the modal loop of
// the test's own thread receives them like a user's input). If the window is still
// open a few seconds after the action, the driver closes it so that a failing test
// cannot hang.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace setuvane::testing {

inline HWND WaitForWindow(const wchar_t* className, HWND notThis = nullptr, int timeoutMs = 10000) {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    for (HWND w = FindWindowW(className, nullptr); w;
         w = FindWindowExW(nullptr, w, className, nullptr)) {
      if (w != notThis && IsWindowVisible(w)) return w;
    }
    Sleep(10);
  }
  return nullptr;
}

inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    if (condition()) return true;
    Sleep(10);
  }
  return condition();
}

inline void PostKey(HWND window, int key) { PostMessageW(window, WM_KEYDOWN, key, 1); }

inline void PostClick(HWND control) {
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

inline std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

inline std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct ChildSearch {
  std::wstring className;
  std::vector<HWND> found;
};

inline BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  if (ClassOf(child) == search->className) search->found.push_back(child);
  return TRUE;
}

// Descendants of `root` of the class, in creation order.
inline std::vector<HWND> ChildrenOfClass(HWND root, const std::wstring& className) {
  ChildSearch search{className, {}};
  EnumChildWindows(root, CollectChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline HWND ChildWithText(HWND root, const std::wstring& className, const std::wstring& text) {
  for (HWND child : ChildrenOfClass(root, className)) {
    if (TextOf(child) == text) return child;
  }
  return nullptr;
}

inline RECT ScreenRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

inline int HeightOf(HWND window) {
  const RECT r = ScreenRectOf(window);
  return r.bottom - r.top;
}

class WindowDriver {
 public:
  WindowDriver(const wchar_t* className, std::function<void(HWND)> action)
      : thread_([this, className, action = std::move(action)] {
          window_ = WaitForWindow(className);
          if (!window_) return;
          action(window_);
          if (!WaitUntil([this] { return !IsWindow(window_) || !IsWindowVisible(window_); })) {
            closedByWatchdog_ = true;
            PostMessageW(window_, WM_CLOSE, 0, 0);
          }
        }) {}
  ~WindowDriver() { Join(); }
  WindowDriver(const WindowDriver&) = delete;
  WindowDriver& operator=(const WindowDriver&) = delete;

  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  bool found() const { return window_ != nullptr; }
  bool closedByWatchdog() const { return closedByWatchdog_; }

 private:
  HWND window_ = nullptr;
  bool closedByWatchdog_ = false;
  std::thread thread_;
};

}  // namespace setuvane::testing
