#include "widgets/common_controls_win32.h"

#include <windows.h>

#include <commctrl.h>

#include "system/system_library.h"

namespace setuvane {

bool CommonControlsReady() {
  static const bool ready = [] {
    auto module = static_cast<HMODULE>(LoadSystemLibrary("comctl32.dll"));
    if (!module) return false;
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(module, "InitCommonControlsEx")));
    if (!init) return false;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    return init(&icc) != FALSE;
  }();
  return ready;
}

}  // namespace setuvane
