#include "core/uninstallation/uninstall_texts.h"

#include "core/run/report_texts.h"

namespace setuvane {

const UninstallTexts& UninstallText() {
  static const UninstallTexts texts{
      .pageTitle = "Usuwanie aplikacji",
      .questionFormat = "Czy usunąć aplikację \"%s\" i wszystkie jej składniki z komputera?",
      .removedFormat = "Aplikacja \"%s\" została usunięta z komputera.",
      .removedAtRestartFormat =
          "Aplikacja \"%s\" została usunięta z komputera.\r\n"
          "Pliki, które są w użyciu, zostaną usunięte po ponownym uruchomieniu komputera.",
      .incompleteFormat =
          "Aplikacja \"%s\" nie została usunięta w całości.\r\n"
          "Spróbuj ponowić usuwanie lub odwołaj się do pomocy technicznej.",
      .stoppedRunQuestionFormat =
          "Poprzednia instalacja aplikacji \"%s\" została przerwana przed zakończeniem.\r\n"
          "Czy wycofać wprowadzone przez nią zmiany i kontynuować?",
      .removingShortcuts = "Usuwanie skrótów aplikacji...",
      .removingSettings = "Usuwanie ustawień systemu...",
      .removingFiles = "Usuwanie plików aplikacji...",
      .removingFolders = "Usuwanie katalogów aplikacji...",
      .recordUnreadable = ReportTexts("Problem usuwania", "Odczytanie zapisu instalacji jest niemożliwe.",
                                      "Zapis instalacji %s nie istnieje lub został uszkodzony.", ""),
      .recordChanged = ReportTexts("Problem usuwania", "Zapis instalacji został zmieniony lub uszkodzony.",
                                   "Zapis instalacji %s nie zgadza się z zapisem w rejestrze systemowym. "
                                   "Żaden plik nie został usunięty.",
                                   ""),
      .fileNotRemoved = ReportTexts("Problem usuwania", "Usunięcie pliku jest niemożliwe.",
                                    "Podczas usuwania pliku %s wystąpił problem", "Dostęp do pliku został odwołany."),
      .linkOnTheWay = ReportTexts("Problem usuwania", "Usunięcie pliku lub katalogu zostało pominięte.",
                                  "Ścieżka %s prowadzi przez połączenie katalogów lub łącze symboliczne.", ""),
      .registryNotRestored = ReportTexts("Problem rejestru", "Usunięcie wartości rejestru jest niemożliwe.",
                                         "Podczas usuwania wartości %s wystąpił problem",
                                         "Dostęp do rejestru systemowego został odwołany."),
      .keyNotRemoved =
          ReportTexts("Problem rejestru", "Usunięcie klucza rejestru jest niemożliwe.",
                      "Podczas usuwania klucza %s wystąpił problem", "Dostęp do rejestru systemowego został odwołany."),
      .entryNotRemoved =
          ReportTexts("Problem rejestru", "Usunięcie aplikacji z listy programów jest niemożliwe.",
                      "Podczas usuwania klucza %s wystąpił problem", "Dostęp do rejestru systemowego został odwołany."),
      .uninstallerNotStarted = ReportTexts("Problem usuwania", "Uruchomienie deinstalatora jest niemożliwe.",
                                           "Deinstalator nie mógł skopiować się do katalogu tymczasowego.", ""),
      .anotherRunning = ReportTexts("Problem instalacji", "Instalacja jest już uruchomiona.",
                                    "Poczekaj na jej zakończenie i spróbuj ponownie.", ""),
      .runNotUndone = ReportTexts("Problem instalacji", "Wycofanie przerwanej instalacji jest niemożliwe.",
                                  "Zmiany wprowadzone przez instalację aplikacji %s nie zostały wycofane w całości.",
                                  "Zamknij programy, które mogą używać jej plików, i spróbuj ponownie."),
      .lockNotMade = ReportTexts("Problem instalacji", "Zabezpieczenie przed równoczesną instalacją jest niemożliwe.",
                                 "System nie pozwolił utworzyć blokady aplikacji.", ""),
      .recordNotWritten = ReportTexts("Problem instalacji", "Uzupełnienie zapisu instalacji jest niemożliwe.",
                                      "Podczas zapisywania pliku %s wystąpił problem",
                                      "Instalacja została przerwana przed następną zmianą, aby można ją było "
                                      "w całości usunąć."),
      .recordNotRewritten = ReportTexts("Problem usuwania", "Uzupełnienie zapisu instalacji jest niemożliwe.",
                                        "Podczas zapisywania pliku %s wystąpił problem",
                                        "Dostęp do pliku został odwołany."),
  };
  return texts;
}

}  // namespace setuvane
