// The user interface's part of the choice between the W calls and their ANSI twins
// (made once for the whole program, system/wide_or_ansi_choice_win32.h): windows,
// drawing and the shell's folder browser. Windows 95, 98 and Me export the W calls
// only as stubs that fail: there the installer's windows are ANSI windows and their
// texts go as Windows-1250 bytes (the code page of the Polish Windows 9x), drawn in
// fonts of the East European character set. Everywhere else the W calls run, with
// the texts in UTF-16, so that Polish shows right whatever the system's code page.
// Texts come and go as the program's UTF-8.
//
// A window created through one set receives its messages (texts, characters) in
// that set, so classes, windows, window procedures and the message loop must all
// agree. Every window of the installer, its controls and the system controls it
// hosts go through these calls; nothing else asks which set is in use.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <string_view>

#include "system/wide_or_ansi_choice_win32.h"

namespace setuvane::ui {

using win32::kForceAnsiVariable;

// True when the ANSI calls are in use (system/wide_or_ansi_choice_win32.h).
bool AnsiCalls();

// The program's module, and one of the system's cursors (IDC_ARROW, ...).
HINSTANCE Instance();
HCURSOR SystemCursor(LPCSTR id);

// Window classes and windows. Class names are ASCII.
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

// Window texts.
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
int DrawTextUtf8(HDC dc, std::string_view text, RECT& rect, UINT format);
int LineHeight(HDC dc);  // of the selected font
// A font of the family; on the ANSI calls a font of the default character set is
// made East European, the set their Windows-1250 text is drawn in.
HFONT NewFont(const char* family, int height, int weight, BYTE charset);
bool FontFamilyInstalled(const char* family);
// GetObject of a bitmap, brush or pen.
int ObjectInfo(HGDIOBJ object, int size, void* info);

// A bitmap file (LoadImage with LR_LOADFROMFILE); nullptr when it cannot be read.
HBITMAP LoadBitmapFile(const std::string& path);

// The shell's folder browser (SHBrowseForFolder): `title` is the text above the
// tree, `callback` receives the browser's messages with `data`. The chosen item
// (free it with CoTaskMemFree), or nullptr after a cancel.
PIDLIST_ABSOLUTE BrowseForFolder(HWND owner, PCIDLIST_ABSOLUTE root, std::string_view title, UINT flags,
                                 BFFCALLBACK callback, LPARAM data);
// The file system path of a shell item; empty when it has none.
std::string PathOfItem(PCIDLIST_ABSOLUTE item);
// The browser's selection made the path (BFFM_SETSELECTION), and its status line
// the text (BFFM_SETSTATUSTEXT).
void SelectBrowsedPath(HWND browser, const std::string& path);
void SetBrowseStatus(HWND browser, std::string_view text);
// The path shortened in the middle (DT_PATH_ELLIPSIS) to fit the width of `area`
// in the font selected into `dc`.
std::string PathFittingWidth(HDC dc, std::string_view path, RECT area);

}  // namespace setuvane::ui
