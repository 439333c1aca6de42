#include "widgets/tooltip_win32.h"

#include <commctrl.h>

#include <string>

#include "system/cp1250.h"

namespace setuvane {
namespace {

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

// Loads comctl32.dll from the system folder only (never from the medium's folder)
// and registers the tooltip class. Done once; false when unavailable.
bool CommonControlsReady() {
  static const bool ready = [] {
    HMODULE module = LoadLibraryExA("comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
      // Systems without the search flag: the full path from the system folder.
      char folder[MAX_PATH] = {};
      const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
      if (length == 0 || length >= MAX_PATH) return false;
      module = LoadLibraryA((std::string(folder) + "\\comctl32.dll").c_str());
    }
    if (!module) return false;
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(module, "InitCommonControlsEx")));
    if (!init) return false;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    return init(&icc) != FALSE;
  }();
  return ready;
}

TOOLINFOW ToolInfo(HWND tool, std::u16string& text) {
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V1_SIZE;  // understood by every version of the library
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(tool);
  ti.uId = reinterpret_cast<UINT_PTR>(tool);
  ti.lpszText = reinterpret_cast<LPWSTR>(text.data());
  return ti;
}

}  // namespace

HWND CreateTooltipFor(HWND tool, std::string_view cp1250Text) {
  if (!tool || !CommonControlsReady()) return nullptr;
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(tool), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (!tip) return nullptr;
  std::u16string text = Cp1250ToUtf16(cp1250Text);
  TOOLINFOW ti = ToolInfo(tool, text);
  if (!SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) {
    DestroyWindow(tip);
    return nullptr;
  }
  return tip;
}

void SetTooltipText(HWND tooltip, HWND tool, std::string_view cp1250Text) {
  if (!tooltip) return;
  std::u16string text = Cp1250ToUtf16(cp1250Text);
  TOOLINFOW ti = ToolInfo(tool, text);
  SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace setuvane
