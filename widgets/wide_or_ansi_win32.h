// The one place where the user interface chooses between the W calls of windows and
// drawing and their ANSI twins. Windows 95, 98 and Me export the W calls only as
// stubs that fail: there the installer's windows are ANSI windows and their texts go
// as Windows-1250 bytes (the code page of the Polish Windows 9x, and the one every
// text of the installer is kept in), drawn in fonts of the East European character
// set. Everywhere else the W calls run, with the texts converted to UTF-16, so that
// Polish shows right whatever the system's code page.
//
// The choice is made once, at the first call, and holds for the whole process: a
// window created through one set receives its messages (texts, characters) in that
// set, so classes, windows, window procedures and the message loop must all agree.
// Every window of the installer, its controls and the system controls it hosts go
// through these calls; nothing else asks which set is in use.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace setuvane::ui {

// Set to "1", forces the ANSI calls on a system that has the W calls: for tests,
// which run under Wine, where the W calls always work.
inline constexpr char kForceAnsiVariable[] = "SETUVANE_ANSI_WINDOWS";

// True when the ANSI calls are in use: on Windows 95, 98 and Me (the top bit of
// GetVersion's answer), or when forced.
bool AnsiCalls();

// The program's module, and one of the system's cursors (IDC_ARROW, ...).
HINSTANCE Instance();
HCURSOR SystemCursor(LPCSTR id);

// Window classes and windows. Class names are ASCII; window texts Windows-1250.
void RegisterClassOnce(const char* name, WNDPROC procedure, HCURSOR cursor, HBRUSH background, UINT style = 0);
HWND NewWindow(DWORD exStyle, const char* className, std::string_view text, DWORD style, int x, int y, int width,
               int height, HWND parent, void* parameter = nullptr);
bool IsOfClass(HWND window, const char* className);
// The creation parameter of WM_NCCREATE and WM_CREATE.
void* CreationParameter(LPARAM lParam);

// Window procedures and their default handling.
LRESULT DefaultProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallProc(WNDPROC procedure, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// Puts `procedure` in front of the window's own; answers the one it replaced.
WNDPROC Subclass(HWND window, WNDPROC procedure);
LONG_PTR WindowLong(HWND window, int index);
LONG_PTR ChangeWindowLong(HWND window, int index, LONG_PTR value);
ULONG_PTR ClassLong(HWND window, int index);

// Messages that carry no text, and the message loop.
LRESULT Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
bool Post(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
// GetMessage: positive for a message, 0 for WM_QUIT, negative on failure.
int NextMessage(MSG& msg);
// PeekMessage with PM_REMOVE: true when a message was taken.
bool PeekNext(MSG& msg);
void Dispatch(const MSG& msg);

// Window texts, Windows-1250 in and out.
void SetText(HWND window, std::string_view text);
std::string Text(HWND window);
// The text of a WM_SETTEXT the window has received.
std::string SetTextArgument(LPARAM lParam);

// The texts of the system's controls: a list box's lines, a list view's column and
// items, a tooltip's tools, a menu's entries.
void AddListBoxLine(HWND listBox, std::string_view text);
bool InsertListColumn(HWND listView, int width);
void InsertListItem(HWND listView, int index, std::string_view text);
std::string ListItemText(HWND listView, int index);
bool AddTool(HWND tooltip, HWND tool, std::string_view text);
void SetToolText(HWND tooltip, HWND tool, std::string_view text);
// An entry at the end of the menu with a picture where the system shows one (the
// systems before Windows 98 and 2000 take the entry without it).
void AppendMenuEntry(HMENU menu, UINT command, std::string_view text, HBITMAP picture);
void AppendMenuSeparator(HMENU menu);

// Drawing and measuring text, and fonts.
int DrawText1250(HDC dc, std::string_view text, RECT& rect, UINT format);
int LineHeight(HDC dc);  // of the selected font
// A font of the family; on the ANSI calls a font of the default character set is
// made East European, the set Windows-1250 text is drawn in.
HFONT NewFont(const char* family, int height, int weight, BYTE charset);
bool FontFamilyInstalled(const char* family);
// GetObject of a bitmap, brush or pen.
int ObjectInfo(HGDIOBJ object, int size, void* info);

}  // namespace setuvane::ui
