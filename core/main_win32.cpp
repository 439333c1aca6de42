// Program entry of the installer. The command line is not read.
#include <windows.h>

#include <objbase.h>

#include "core/default_interface_win32.h"
#include "core/dll_search_win32.h"
#include "dialogs/application_title.h"
#include "dialogs/uncaught_failure.h"

namespace {

// The application object's part: COM for this thread (the shortcut writer needs
// it), released again when the program ends normally.
class ComForThread {
 public:
  ComForThread() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComForThread() {
    if (initialised_) CoUninitialize();
  }
  ComForThread(const ComForThread&) = delete;
  ComForThread& operator=(const ComForThread&) = delete;

 private:
  bool initialised_;
};

int RunMessageLoop(setuvane::TfrmDefaultInterface& form) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    form.PreviewKey(msg);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  setuvane::RestrictDllSearchPath();
  ComForThread com;
  setuvane::SetApplicationTitle("Setuvane");
  int exitCode = 0;
  setuvane::CallReportingFailures([&] {
    setuvane::TfrmDefaultInterface form;
    form.Show();
    exitCode = RunMessageLoop(form);
  });
  return exitCode;
}
