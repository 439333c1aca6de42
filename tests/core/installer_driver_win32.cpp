#include "tests/core/installer_driver_win32.h"

#include <algorithm>

#include "tests/dialogs/screen_picture_win32.h"
#include "tests/dialogs/window_driver_win32.h"

namespace setuvane::testing {
namespace {

struct Search {
  const wchar_t* className;
  const std::wstring* text;
  HWND found = nullptr;
};

BOOL CALLBACK FindShown(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (ClassOf(window) == search->className && IsShown(window) &&
      (search->text->empty() || ControlText(window) == *search->text)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

void Send(INPUT input) { SendInput(1, &input, sizeof input); }

INPUT Key(WORD key, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

PROCESS_INFORMATION StartProcess(const std::string& commandLine, const std::string& directory) {
  std::string line = commandLine;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                 directory.empty() ? nullptr : directory.c_str(), &startup, &process);
  return process;
}

DWORD WaitForExit(PROCESS_INFORMATION& process, int timeoutMs) {
  DWORD exitCode = 99;
  if (!process.hProcess) return exitCode;
  if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &exitCode);
  } else {
    TerminateProcess(process.hProcess, 98);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  process = {};
  return exitCode;
}

std::wstring ControlText(HWND window) {
  // WM_GETTEXT reaches the control's own text in another process too, where
  // GetWindowText sees only a caption.
  const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

bool IsShown(HWND window) {
  for (HWND w = window; w; w = GetParent(w)) {
    if (!IsWindowVisible(w)) return false;
  }
  return window != nullptr;
}

HWND WaitForControl(HWND root, const wchar_t* className, const std::wstring& text, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        Search search{className, &text};
        if (root) {
          EnumChildWindows(root, FindShown, reinterpret_cast<LPARAM>(&search));
        } else {
          EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
        }
        found = search.found;
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

void ClickOn(HWND window) {
  const RECT r = ScreenRectOf(window);
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  Send(move);
  Sleep(30);
  INPUT press = move;
  press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  Send(press);
  Sleep(30);
  press.mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  Send(press);
  Sleep(100);
}

void PressKey(WORD key, WORD modifier) {
  if (modifier) Send(Key(modifier, 0));
  Send(Key(key, 0));
  Send(Key(key, KEYEVENTF_KEYUP));
  if (modifier) Send(Key(modifier, KEYEVENTF_KEYUP));
  Sleep(50);
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = c;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    Send(input);
    input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    Send(input);
  }
  Sleep(100);
}

void RetypeFocusedText(const std::wstring& text) {
  PressKey(VK_END);
  PressKey(VK_HOME, VK_SHIFT);
  PressKey(VK_DELETE);
  TypeText(text);
}

bool SaveScreen(const std::string& path) {
  return SaveScreenArea({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, path);
}

std::string WinePath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

}  // namespace setuvane::testing
