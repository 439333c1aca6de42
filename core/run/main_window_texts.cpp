#include "core/run/main_window_texts.h"

#include "system/cp1250.h"

namespace setuvane {

const MainWindowTexts& MainWindowText() {
  static const MainWindowTexts texts{
      .environmentTitle = Cp1250("Ustawienia systemu"),
      .environmentHint = Cp1250("Wystąpił problem uniemożliwiający kontynuację."),
      .environmentDetails = Cp1250("Uruchomienie instalatora zostało odwołane."),
      .safeModeMessage =
          Cp1250("Aktualnie twój system uruchomiony jest w trybie awaryjnym.\r\n"
                 "Aplikacja nie może pracować w bieżącym trybie systemu. Uruchom system w trybie "
                 "normalnym i spróbuj ponownie."),
      .noMouseMessage = Cp1250(
          "Aktualnie twój system nie posiada zainstalowanej myszy.\r\n"
          "Aplikacja nie może pracować w bieżącym trybie wskazywania. Zmień ustawienia systemu "
          "i spróbuj ponownie."),
      .fewColoursMessage = Cp1250(
          "Aktualnie twój system używa zbyt mało kolorów w swojej palecie.\r\n"
          "Aplikacja nie może pracować w bieżącym trybie graficznym. Zmień ustawienia systemu "
          "i spróbuj ponownie."),
      .abortTitle = Cp1250("Problem instalacji"),
      .abortText = Cp1250("Instalacja produktu została przerwana przez problem instalacji.\r\n"
                          "Spróbuj ponowić instalację lub odwołaj się do pomocy technicznej."),
      .generalProblemTitle = Cp1250("Generalny problem instalacji"),
      .generalProblemMessage = Cp1250("Instalator wykonał nieprawidłową operację."),
      .generalProblemHint = Cp1250("Prawdopodobnie istnieje możliwość kontynuacji."),
      .unreadableLogo = Cp1250(": nieprawidłowy obraz"),
  };
  return texts;
}

}  // namespace setuvane
