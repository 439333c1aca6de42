// The demo medium's system component: supfont\setup.exe, a silent installer that
// the installer runs hidden with /Q:A. It records in the registry that it ran (the
// demo prints it) and takes a moment, as a real component installer would, so
// that its status text can be seen on the install page.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  if (std::wcsstr(commandLine, L"/Q:A") == nullptr) return 1;  // only the silent form is known
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Quorbalite\\Komponenty", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) == ERROR_SUCCESS) {
    const wchar_t value[] = L"zainstalowane";
    RegSetValueExW(key, L"Czcionki", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
    RegCloseKey(key);
  }
  Sleep(1500);
  return 0;
}
