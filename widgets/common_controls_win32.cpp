#include "widgets/common_controls_win32.h"

#include <windows.h>

#include <commctrl.h>

#include "system/system_library.h"

namespace setuvane {
namespace {

// InitCommonControlsEx, unless the library predates it or a test says it does.
FARPROC ExtendedRegistration(HMODULE module) {
  char value[4] = {};
  if (GetEnvironmentVariableA(kFirstCommonControlsVariable, value, sizeof value) == 1 && value[0] == '1') {
    return nullptr;
  }
  return GetProcAddress(module, "InitCommonControlsEx");
}

bool RegisterClasses() {
  auto module = static_cast<HMODULE>(LoadSystemLibrary("comctl32.dll"));
  if (!module) return false;
  if (FARPROC extended = ExtendedRegistration(module)) {
    using InitExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    return reinterpret_cast<InitExFn>(reinterpret_cast<void*>(extended))(&icc) != FALSE;
  }
  // Versions before 4.70 (Windows 95 and NT 4.0 without a newer Internet
  // Explorer) register their classes, the list view and the tooltip among them,
  // on the call every version exports.
  using InitFn = void(WINAPI*)();
  auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(module, "InitCommonControls")));
  if (!init) return false;
  init();
  return true;
}

}  // namespace

bool CommonControlsReady() {
  static const bool ready = RegisterClasses();
  return ready;
}

}  // namespace setuvane
