// Drives the installer program from another process as a person would: real mouse
// clicks at the controls' places and real key presses (SendInput), windows found
// by their class and text, and pictures of the screen.
#pragma once

#include <windows.h>

#include <string>

namespace setuvane::testing {

// A Linux path of the build as Wine sees it (drive Z: is the root).
std::string WinePath(std::string path);

// Starts the command line in `directory`; the process handle stays with the caller.
PROCESS_INFORMATION StartProcess(const std::string& commandLine, const std::string& directory = "");
// Waits for the process to end; its exit code, or 99 when it did not end in time.
DWORD WaitForExit(PROCESS_INFORMATION& process, int timeoutMs = 30000);

// The first visible window of the class below `root` whose text is `text` (any
// text when empty); null when none appears within the time.
HWND WaitForControl(HWND root, const wchar_t* className, const std::wstring& text = L"", int timeoutMs = 10000);
bool IsShown(HWND window);  // visible, with every parent visible
std::wstring ControlText(HWND window);  // also of a control in another process

// A left click at the middle of the window, through the input queue.
void ClickOn(HWND window);
// A key press, with Shift, Alt (VK_MENU) or Control held when `modifier` names it.
void PressKey(WORD key, WORD modifier = 0);
void TypeText(const std::wstring& text);
// Replaces the text of the edit box under the caret: end, select to the start, type.
void RetypeFocusedText(const std::wstring& text);

// Saves the whole screen as a 24-bit BMP file.
bool SaveScreen(const std::string& path);

}  // namespace setuvane::testing
