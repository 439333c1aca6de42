// The demo product's program: a window that says what it is. Installed as
// bin\notatnik.exe, it is the target of the demo's shortcuts.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, L"Quorbalite Notatnik 1.0\nWersja demonstracyjna, zainstalowana przez Setuvane.",
              L"Quorbalite Notatnik", MB_OK | MB_ICONINFORMATION);
  return 0;
}
