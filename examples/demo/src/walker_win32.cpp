// Walks the demo installation for `make demo` when there is nobody at the screen:
// starts the installer, goes through its six pages with real clicks as a person
// would, saves a picture of each page, and then shows an unattended /SILENT run.
//
//   setuvane_demo_walker SETUVANE_EXE PICTURE_FOLDER LOG_FILE SILENT_FOLDER
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/core/installer_driver_win32.h"
#include "tests/dialogs/window_driver_win32.h"

namespace {

using namespace setuvane::testing;

std::string g_pictures;

bool LabelShown(HWND window, const wchar_t* caption) {
  for (HWND label : ChildrenOfClass(window, L"Static")) {
    if (IsShown(label) && TextOf(label) == caption) return true;
  }
  return false;
}

bool WaitForLabel(HWND window, const wchar_t* caption, int timeoutMs = 30000) {
  return WaitUntil([&] { return LabelShown(window, caption); }, timeoutMs);
}

void Picture(const char* name) {
  Sleep(400);  // the page painted, the hover effects settled
  SaveScreen(g_pictures + "\\" + name + ".bmp");
  std::printf("demo: picture %s\n", name);
}

HWND VisibleList(HWND window, HWND notThis) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND list : ChildrenOfClass(window, L"SysListView32")) {
      if (list != notThis && IsShown(list)) found = list;
    }
    return found != nullptr;
  });
  return found;
}

bool Fail(const char* what) {
  std::fprintf(stderr, "demo: %s (the screen is in failure.bmp)\n", what);
  SaveScreen(g_pictures + "\\failure.bmp");
  return false;
}

bool WalkTheWizard(const std::string& exe, const std::string& log) {
  PROCESS_INFORMATION process = StartProcess("\"" + exe + "\" \"/LOG=" + log + "\"");
  HWND window = WaitForControl(nullptr, L"TfrmDefaultInterface", L"", 60000);
  if (!window || !WaitForLabel(window, L"Witamy w instalacji")) return Fail("the welcome page did not appear");
  const auto next = [&] { ClickOn(WaitForControl(window, L"SetuvaneFlatButton", L"Następny >")); };
  Picture("page1");
  next();
  HWND license = VisibleList(window, nullptr);
  Picture("page2");
  next();
  VisibleList(window, license);
  Picture("page3");
  next();
  if (!WaitForLabel(window, L"Lokalizacja aplikacji")) return Fail("the folder page did not appear");
  Picture("page4");
  next();
  // The demo's component installer takes a moment: the install page is seen with it.
  if (!WaitForLabel(window, L"Instalowanie czcionek systemowych...")) return Fail("the component did not run");
  Picture("page5");
  if (!WaitForLabel(window, L"Zakończenie instalacji", 120000)) return Fail("the installation did not complete");
  Picture("page6");
  ClickOn(WaitForControl(window, L"SetuvaneFlatRadioButton", L"Nie, chcę teraz powrócić do systemu Windows."));
  ClickOn(WaitForControl(window, L"SetuvaneFlatButton", L"Zamknij"));
  const DWORD exitCode = WaitForExit(process);
  std::printf("demo: the wizard ended with exit code %lu\n", exitCode);
  return exitCode == 0;
}

bool ShowSilentRun(const std::string& exe, const std::string& folder) {
  PROCESS_INFORMATION process = StartProcess("\"" + exe + "\" /SILENT \"/DIR=" + folder + "\"");
  HWND window = WaitForControl(nullptr, L"TfrmDefaultInterface", L"", 60000);
  if (window && WaitForLabel(window, L"Instalowanie czcionek systemowych...")) Picture("silent");
  const DWORD exitCode = WaitForExit(process, 120000);
  std::printf("demo: /SILENT ended with exit code %lu\n", exitCode);
  return exitCode == 0 || exitCode == 3010;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: setuvane_demo_walker SETUVANE_EXE PICTURE_FOLDER LOG_FILE SILENT_FOLDER\n");
    return 2;
  }
  g_pictures = argv[2];
  const bool walked = WalkTheWizard(argv[1], argv[3]);
  const bool silent = walked && ShowSilentRun(argv[1], argv[4]);
  return walked && silent ? 0 : 1;
}
