// Shows one window of the installer as a user sees it and saves a picture of it:
//   setuvane_scenes SCENE OUTPUT.bmp
// Scenes: question1 .. question4, question0 (no buttons), question-menu, choice
// (the question about files in use), problem, problem-expanded. scripts/screenshots.sh runs every scene and turns the
// pictures into the PNG files of docs/.
#include <windows.h>

#include <shellapi.h>

#include <fstream>
#include <string>
#include <thread>

#include "dialogs/message_routines.h"
#include "tests/dialogs/screen_picture_win32.h"
#include "tests/dialogs/window_driver_win32.h"

namespace {

// Saves the screen area of the window, with its frame.
bool SaveWindowPicture(HWND window, const std::wstring& path) {
  RECT r;
  GetWindowRect(window, &r);
  return setuvane::testing::SaveScreenArea(r, path);
}

// Waits for the dialog, lets it paint, optionally presses a key first, saves the
// picture and closes the dialog.
void PhotographDialog(const wchar_t* className, const std::wstring& path, int keyFirst) {
  std::thread([=] {
    HWND dialog = setuvane::testing::WaitForWindow(className);
    if (!dialog) ExitProcess(3);
    if (keyFirst) setuvane::testing::PostKey(dialog, keyFirst);
    Sleep(1500);
    if (!SaveWindowPicture(dialog, path)) ExitProcess(4);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  }).detach();
}

// The question window with its drop-down menu open.
void PhotographMenu(const std::wstring& path) {
  std::thread([=] {
    HWND dialog = setuvane::testing::WaitForWindow(L"TfrmMessageDialog");
    if (!dialog) ExitProcess(3);
    auto glyphs = setuvane::testing::ChildrenOfClass(dialog, L"SetuvaneToolbarButton97");
    if (glyphs.size() != 2) ExitProcess(3);
    const bool firstIsLeft = setuvane::testing::ScreenRectOf(glyphs[0]).left <
                             setuvane::testing::ScreenRectOf(glyphs[1]).left;
    setuvane::testing::PostClick(firstIsLeft ? glyphs[0] : glyphs[1]);
    HWND menu = setuvane::testing::WaitForWindow(L"#32768");
    if (!menu) ExitProcess(3);
    Sleep(1500);
    if (!SaveWindowPicture(dialog, path)) ExitProcess(4);
    setuvane::testing::PostKey(menu, VK_ESCAPE);
    Sleep(300);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  }).detach();
}

int Question(int kind, const std::wstring& path) {
  if (kind == 9) {
    PhotographMenu(path);
    kind = 3;
  } else {
    PhotographDialog(L"TfrmMessageDialog", path, 0);
  }
  switch (kind) {
    case 1:
      setuvane::ShowMessageDialog("Instalator Aplikacji", "Wysłanie komunikatu producentowi okazało się niemożliwe.",
                                  1);
      break;
    case 2:
      setuvane::ShowMessageDialog("Problem instalacji",
                                  "Plik \"C:\\Program Files\\Quorbalite\\dane.mdb\" jest "
                                  "używany przez inny program.\r\nZamknij wszystkie aplikacje "
                                  "i spróbuj ponownie.",
                                  2);
      break;
    case 3:
      setuvane::ShowMessageDialog("Instalator Aplikacji",
                                  "Czy na pewno chcesz przerwać instalację?\r\n"
                                  "Instalacja produktu nie została ukończona.",
                                  3);
      break;
    case 4:
      setuvane::ShowMessageDialog("Zastąpienie pliku",
                                  "Plik ustawień \"konfiguracja.inf\" już istnieje.\r\n"
                                  "Czy zastąpić go plikiem z pakietu instalacji?",
                                  4);
      break;
    default:
      setuvane::ShowMessageDialog("Informacja",
                                  "Okno bez przycisków zamyka się przyciskiem w prawym "
                                  "górnym rogu albo poleceniem \"Zamknij\" z menu.",
                                  0);
  }
  return 0;
}

int Choice(const std::wstring& path) {
  PhotographDialog(L"TfrmMessageDialog", path, 0);
  setuvane::ShowChoiceDialog("Instalator Notatnika",
                             "Pliki, które instalacja musi zastąpić, są używane przez programy:\r\n"
                             "Notatnik\r\nPodgląd wydruku\r\n"
                             "Pliki, które pozostaną w użyciu, zostaną zastąpione po ponownym uruchomieniu komputera.",
                             {"Zamknij programy i kontynuuj", "Ponów", "Przerwij"});
  return 0;
}

int Problem(bool expanded, const std::wstring& path) {
  PhotographDialog(L"TfrmInfoDialog", path, expanded ? VK_RETURN : 0);
  setuvane::ShowProblemDialog("Problem instalacji", "Nieprawidłowy źródłowy pakiet instalacji.",
                              "Upewnij się że instalacja nie została uszkodzona",
                              "Archive damaged: the central directory of install.zip cannot be found.");
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count != 3) return 2;
  const std::wstring scene = args[1], path = args[2];
  LocalFree(args);
  if (scene == L"problem") return Problem(false, path);
  if (scene == L"problem-expanded") return Problem(true, path);
  if (scene == L"question-menu") return Question(9, path);
  if (scene == L"choice") return Choice(path);
  if (scene.rfind(L"question", 0) == 0) return Question(_wtoi(scene.c_str() + 8), path);
  return 2;
}
