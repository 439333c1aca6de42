#include "widgets/tooltip_win32.h"

#include <commctrl.h>

#include <string>

#include "system/cp1250.h"
#include "widgets/common_controls_win32.h"

namespace setuvane {
namespace {

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
