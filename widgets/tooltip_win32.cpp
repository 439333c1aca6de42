#include "widgets/tooltip_win32.h"

#include <commctrl.h>

#include "widgets/common_controls_win32.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {

HWND CreateTooltipFor(HWND tool, std::string_view text) {
  if (!tool || !CommonControlsReady()) return nullptr;
  HWND tip = ui::NewWindow(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "", WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(tool));
  if (!tip) return nullptr;
  if (!ui::AddTool(tip, tool, text)) {
    DestroyWindow(tip);
    return nullptr;
  }
  return tip;
}

void SetTooltipText(HWND tooltip, HWND tool, std::string_view text) {
  if (tooltip) ui::SetToolText(tooltip, tool, text);
}

}  // namespace setuvane
