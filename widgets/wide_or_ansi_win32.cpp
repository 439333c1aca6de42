#include "widgets/wide_or_ansi_win32.h"

#include <commctrl.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <type_traits>
#include <vector>

#include "system/cp1250.h"
#include "system/wide_or_ansi_choice_win32.h"

namespace setuvane::ui {
namespace {

using win32::FromWide;
using win32::Wide;

// The ANSI windows' form of a text: Windows-1250, drawn in fonts of the East
// European character set (a character it lacks shows as "?").
std::string ForAnsiWindow(std::string_view utf8) { return Cp1250(utf8); }
std::string FromAnsiWindow(std::string_view cp1250) { return Cp1250ToUtf8(cp1250); }

// The smaller record of the menu entries that Windows 95 and NT 4.0 know: without
// the picture, the text as the entry's type.
template <class Info>
constexpr UINT kMenuInfoWithoutPicture = offsetof(Info, hbmpItem);

template <class Info, class Insert, class Text>
void InsertMenuEntry(Insert insert, HMENU menu, UINT command, Text* text, HBITMAP picture) {
  const int at = GetMenuItemCount(menu);
  Info item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP;
  item.wID = command;
  item.dwTypeData = text;
  item.hbmpItem = picture;
  if (insert(menu, at, TRUE, &item)) return;
  item = Info{};
  item.cbSize = kMenuInfoWithoutPicture<Info>;
  item.fMask = MIIM_ID | MIIM_TYPE;
  item.fType = MFT_STRING;
  item.wID = command;
  item.dwTypeData = text;
  insert(menu, at, TRUE, &item);
}

template <class Info, class Text>
Info ToolInfo(HWND tool, Text* text) {
  Info info{};
  info.cbSize = std::is_same_v<Info, TTTOOLINFOA> ? TTTOOLINFOA_V1_SIZE : TTTOOLINFOW_V1_SIZE;  // every version
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = GetParent(tool);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text;
  return info;
}

}  // namespace

bool AnsiCalls() { return win32::AnsiCalls(); }

// Neither call carries text: the ANSI one serves on every system.
HINSTANCE Instance() { return GetModuleHandleA(nullptr); }
HCURSOR SystemCursor(LPCSTR id) { return LoadCursorA(nullptr, id); }

void RegisterClassOnce(const char* name, WNDPROC procedure, HCURSOR cursor, HBRUSH background, UINT style) {
  const HINSTANCE instance = Instance();
  if (!cursor) cursor = SystemCursor(IDC_ARROW);
  if (AnsiCalls()) {
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, name, &wc)) return;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    return;
  }
  const std::wstring wideName = Wide(name);
  WNDCLASSW wc{};
  if (GetClassInfoW(instance, wideName.c_str(), &wc)) return;
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = wideName.c_str();
  RegisterClassW(&wc);
}

HWND NewWindow(DWORD exStyle, const char* className, std::string_view text, DWORD style, int x, int y, int width,
               int height, HWND parent, void* parameter) {
  if (AnsiCalls()) {
    const std::string title = ForAnsiWindow(text);
    return CreateWindowExA(exStyle, className, title.c_str(), style, x, y, width, height, parent, nullptr, Instance(),
                           parameter);
  }
  return CreateWindowExW(exStyle, Wide(className).c_str(), Wide(text).c_str(), style, x, y, width, height, parent,
                         nullptr, Instance(), parameter);
}

bool IsOfClass(HWND window, const char* className) {
  if (AnsiCalls()) {
    char name[64] = {};
    return GetClassNameA(window, name, sizeof name) && std::strcmp(name, className) == 0;
  }
  wchar_t name[64] = {};
  return GetClassNameW(window, name, 64) && Wide(className) == name;
}

// The two records differ only in the types of their name pointers, after it.
void* CreationParameter(LPARAM lParam) { return reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams; }

LRESULT DefaultProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return AnsiCalls() ? DefWindowProcA(window, msg, wParam, lParam) : DefWindowProcW(window, msg, wParam, lParam);
}

LRESULT CallProc(WNDPROC procedure, HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return AnsiCalls() ? CallWindowProcA(procedure, window, msg, wParam, lParam)
                     : CallWindowProcW(procedure, window, msg, wParam, lParam);
}

WNDPROC Subclass(HWND window, WNDPROC procedure) {
  return reinterpret_cast<WNDPROC>(ChangeWindowLong(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

LONG_PTR WindowLong(HWND window, int index) {
  return AnsiCalls() ? GetWindowLongPtrA(window, index) : GetWindowLongPtrW(window, index);
}

LONG_PTR ChangeWindowLong(HWND window, int index, LONG_PTR value) {
  return AnsiCalls() ? SetWindowLongPtrA(window, index, value) : SetWindowLongPtrW(window, index, value);
}

ULONG_PTR ClassLong(HWND window, int index) {
  return AnsiCalls() ? GetClassLongPtrA(window, index) : GetClassLongPtrW(window, index);
}

LRESULT Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return AnsiCalls() ? SendMessageA(window, msg, wParam, lParam) : SendMessageW(window, msg, wParam, lParam);
}

bool Post(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return (AnsiCalls() ? PostMessageA(window, msg, wParam, lParam) : PostMessageW(window, msg, wParam, lParam)) != 0;
}

int NextMessage(MSG& msg) {
  return AnsiCalls() ? GetMessageA(&msg, nullptr, 0, 0) : GetMessageW(&msg, nullptr, 0, 0);
}

bool PeekNext(MSG& msg) {
  return (AnsiCalls() ? PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) : PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) !=
         0;
}

void Dispatch(const MSG& msg) {
  if (AnsiCalls()) {
    DispatchMessageA(&msg);
  } else {
    DispatchMessageW(&msg);
  }
}

void SetText(HWND window, std::string_view text) {
  if (AnsiCalls()) {
    SetWindowTextA(window, ForAnsiWindow(text).c_str());
  } else {
    SetWindowTextW(window, Wide(text).c_str());
  }
}

std::string Text(HWND window) {
  if (AnsiCalls()) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return FromAnsiWindow(text);
  }
  std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1);
  const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  return FromWide(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

std::string SetTextArgument(LPARAM lParam) {
  if (!lParam) return {};
  if (AnsiCalls()) return FromAnsiWindow(reinterpret_cast<const char*>(lParam));
  return FromWide(reinterpret_cast<const wchar_t*>(lParam));
}

void AddListBoxLine(HWND listBox, std::string_view text) {
  if (AnsiCalls()) {
    SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ForAnsiWindow(text).c_str()));
  } else {
    SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
  }
}

bool InsertListColumn(HWND listView, int width) {
  if (AnsiCalls()) {
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = width;
    return SendMessageA(listView, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column)) >= 0;
  }
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = width;
  return SendMessageW(listView, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)) >= 0;
}

void InsertListItem(HWND listView, int index, std::string_view text) {
  if (AnsiCalls()) {
    std::string item = ForAnsiWindow(text);
    LVITEMA row{};
    row.mask = LVIF_TEXT;
    row.iItem = index;
    row.pszText = item.data();
    SendMessageA(listView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    return;
  }
  std::wstring item = Wide(text);
  LVITEMW row{};
  row.mask = LVIF_TEXT;
  row.iItem = index;
  row.pszText = item.data();
  SendMessageW(listView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
}

std::string ListItemText(HWND listView, int index) {
  constexpr int kLongest = 1024;
  if (AnsiCalls()) {
    std::string text(kLongest, '\0');
    LVITEMA row{};
    row.pszText = text.data();
    row.cchTextMax = kLongest;
    text.resize(static_cast<std::size_t>(SendMessageA(listView, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&row))));
    return FromAnsiWindow(text);
  }
  std::wstring text(kLongest, L'\0');
  LVITEMW row{};
  row.pszText = text.data();
  row.cchTextMax = kLongest;
  const auto length = SendMessageW(listView, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&row));
  return FromWide(text.data(), static_cast<std::size_t>(length));
}

bool AddTool(HWND tooltip, HWND tool, std::string_view text) {
  if (AnsiCalls()) {
    std::string tip = ForAnsiWindow(text);
    TTTOOLINFOA info = ToolInfo<TTTOOLINFOA>(tool, tip.data());
    return SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
  }
  std::wstring tip = Wide(text);
  TTTOOLINFOW info = ToolInfo<TTTOOLINFOW>(tool, tip.data());
  return SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void SetToolText(HWND tooltip, HWND tool, std::string_view text) {
  if (AnsiCalls()) {
    std::string tip = ForAnsiWindow(text);
    TTTOOLINFOA info = ToolInfo<TTTOOLINFOA>(tool, tip.data());
    SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    return;
  }
  std::wstring tip = Wide(text);
  TTTOOLINFOW info = ToolInfo<TTTOOLINFOW>(tool, tip.data());
  SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void AppendMenuEntry(HMENU menu, UINT command, std::string_view text, HBITMAP picture) {
  if (AnsiCalls()) {
    std::string entry = ForAnsiWindow(text);
    InsertMenuEntry<MENUITEMINFOA>(InsertMenuItemA, menu, command, entry.data(), picture);
  } else {
    std::wstring entry = Wide(text);
    InsertMenuEntry<MENUITEMINFOW>(InsertMenuItemW, menu, command, entry.data(), picture);
  }
}

void AppendMenuSeparator(HMENU menu) {
  if (AnsiCalls()) {
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  } else {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  }
}

int DrawTextUtf8(HDC dc, std::string_view text, RECT& rect, UINT format) {
  if (AnsiCalls()) {
    std::string drawn = ForAnsiWindow(text);
    return DrawTextA(dc, drawn.c_str(), static_cast<int>(drawn.size()), &rect, format);
  }
  const std::wstring drawn = Wide(text);
  return DrawTextW(dc, drawn.c_str(), static_cast<int>(drawn.size()), &rect, format);
}

int LineHeight(HDC dc) {
  if (AnsiCalls()) {
    TEXTMETRICA metrics{};
    return GetTextMetricsA(dc, &metrics) ? metrics.tmHeight : 0;
  }
  TEXTMETRICW metrics{};
  return GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
}

HFONT NewFont(const char* family, int height, int weight, BYTE charset) {
  if (AnsiCalls()) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = charset == DEFAULT_CHARSET ? EASTEUROPE_CHARSET : charset;
    lf.lfQuality = DEFAULT_QUALITY;
    std::string_view(family).copy(lf.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
  }
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = charset;
  lf.lfQuality = DEFAULT_QUALITY;
  const std::wstring face = Wide(family);
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

namespace {

template <class LogFont, class Metrics>
int CALLBACK NoteFound(const LogFont*, const Metrics*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

bool FontFamilyInstalled(const char* family) {
  HDC screen = GetDC(nullptr);
  bool found = false;
  if (AnsiCalls()) {
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    std::string_view(family).copy(lf.lfFaceName, LF_FACESIZE - 1);
    EnumFontFamiliesExA(screen, &lf, reinterpret_cast<FONTENUMPROCA>(&NoteFound<LOGFONTA, TEXTMETRICA>),
                        reinterpret_cast<LPARAM>(&found), 0);
  } else {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    Wide(family).copy(lf.lfFaceName, LF_FACESIZE - 1);
    EnumFontFamiliesExW(screen, &lf, reinterpret_cast<FONTENUMPROCW>(&NoteFound<LOGFONTW, TEXTMETRICW>),
                        reinterpret_cast<LPARAM>(&found), 0);
  }
  ReleaseDC(nullptr, screen);
  return found;
}

int ObjectInfo(HGDIOBJ object, int size, void* info) {
  return AnsiCalls() ? GetObjectA(object, size, info) : GetObjectW(object, size, info);
}

HBITMAP LoadBitmapFile(const std::string& path) {
  constexpr UINT kFlags = LR_LOADFROMFILE;
  if (!AnsiCalls()) return static_cast<HBITMAP>(LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, 0, 0, kFlags));
  // A path is in the system's code page, not the windows' one.
  const std::optional<std::string> ansi = win32::Ansi(path);
  return ansi ? static_cast<HBITMAP>(LoadImageA(nullptr, ansi->c_str(), IMAGE_BITMAP, 0, 0, kFlags)) : nullptr;
}

namespace {

// The shell's W calls are looked up: no documentation vouches for their export on
// Windows 9x, whose loader would refuse the program for a missing import.
using BrowseW = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW);
using PathOfItemW = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR);

// The browser through one set's record: its text and display name of that set.
template <class Info, class Call, class Text>
PIDLIST_ABSOLUTE Browse(Call browse, HWND owner, PCIDLIST_ABSOLUTE root, const Text& title, UINT flags,
                        BFFCALLBACK callback, LPARAM data) {
  typename Text::value_type displayName[MAX_PATH] = {};
  Info info{};
  info.hwndOwner = owner;
  info.pidlRoot = root;
  info.pszDisplayName = displayName;
  info.lpszTitle = title.empty() ? nullptr : title.c_str();
  info.ulFlags = flags;
  info.lpfn = callback;
  info.lParam = data;
  return browse(&info);
}

}  // namespace

PIDLIST_ABSOLUTE BrowseForFolder(HWND owner, PCIDLIST_ABSOLUTE root, std::string_view title, UINT flags,
                                 BFFCALLBACK callback, LPARAM data) {
  if (AnsiCalls()) {
    return Browse<BROWSEINFOA>(SHBrowseForFolderA, owner, root, ForAnsiWindow(title), flags, callback, data);
  }
  const auto browse = win32::LoadedFunctionAs<BrowseW>("shell32.dll", "SHBrowseForFolderW");
  return browse ? Browse<BROWSEINFOW>(browse, owner, root, Wide(title), flags, callback, data) : nullptr;
}

std::string PathOfItem(PCIDLIST_ABSOLUTE item) {
  if (!item) return {};
  if (AnsiCalls()) {
    char path[MAX_PATH] = {};
    return SHGetPathFromIDListA(item, path) ? win32::FromAnsi(path) : std::string();
  }
  const auto pathOf = win32::LoadedFunctionAs<PathOfItemW>("shell32.dll", "SHGetPathFromIDListW");
  wchar_t path[MAX_PATH] = {};
  return pathOf && pathOf(item, path) ? FromWide(path) : std::string();
}

void SelectBrowsedPath(HWND browser, const std::string& path) {
  if (!AnsiCalls()) {
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(Wide(path).c_str()));
    return;
  }
  if (const std::optional<std::string> ansi = win32::Ansi(path))
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(ansi->c_str()));
}

void SetBrowseStatus(HWND browser, std::string_view text) {
  if (!AnsiCalls()) {
    SendMessageW(browser, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    return;
  }
  const std::string ansi = win32::Ansi(text).value_or(std::string());
  SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(ansi.c_str()));
}

std::string PathFittingWidth(HDC dc, std::string_view path, RECT area) {
  // DT_MODIFYSTRING writes the shortened text over the given one, up to four
  // characters more.
  constexpr UINT kFormat = DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX | DT_SINGLELINE;
  if (!AnsiCalls()) {
    std::wstring text = Wide(path);
    text.resize(text.size() + 5, L'\0');
    DrawTextExW(dc, text.data(), -1, &area, kFormat, nullptr);
    return FromWide(text.c_str());
  }
  std::string text = win32::Ansi(path).value_or(ForAnsiWindow(path));
  text.resize(text.size() + 5, '\0');
  DrawTextExA(dc, text.data(), -1, &area, kFormat, nullptr);
  return win32::FromAnsi(text.c_str());
}

}  // namespace setuvane::ui
