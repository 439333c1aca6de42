#include "core/run/main_window_texts.h"

namespace setuvane {

const MainWindowTexts& MainWindowText() {
  static const MainWindowTexts texts{
      .environmentTitle = "Ustawienia systemu",
      .environmentHint = "Wystąpił problem uniemożliwiający kontynuację.",
      .environmentDetails = "Uruchomienie instalatora zostało odwołane.",
      .safeModeMessage =
          "Aktualnie twój system uruchomiony jest w trybie awaryjnym.\r\n"
          "Aplikacja nie może pracować w bieżącym trybie systemu. Uruchom system w trybie "
          "normalnym i spróbuj ponownie.",
      .noMouseMessage =
          "Aktualnie twój system nie posiada zainstalowanej myszy.\r\n"
          "Aplikacja nie może pracować w bieżącym trybie wskazywania. Zmień ustawienia systemu "
          "i spróbuj ponownie.",
      .fewColoursMessage =
          "Aktualnie twój system używa zbyt mało kolorów w swojej palecie.\r\n"
          "Aplikacja nie może pracować w bieżącym trybie graficznym. Zmień ustawienia systemu "
          "i spróbuj ponownie.",
      .abortTitle = "Problem instalacji",
      .abortText =
          "Instalacja produktu została przerwana przez problem instalacji.\r\n"
          "Spróbuj ponowić instalację lub odwołaj się do pomocy technicznej.",
      .changesUndone = "Wprowadzone zmiany zostały wycofane.",
      .generalProblemTitle = "Generalny problem instalacji",
      .generalProblemMessage = "Instalator wykonał nieprawidłową operację.",
      .generalProblemHint = "Prawdopodobnie istnieje możliwość kontynuacji.",
      .unreadableLogo = ": nieprawidłowy obraz",
  };
  return texts;
}

}  // namespace setuvane
