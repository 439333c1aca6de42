#include "core/uninstallation/uninstall_texts.h"

#include "core/run/report_texts.h"
#include "system/cp1250.h"

namespace setuvane {

const UninstallTexts& UninstallText() {
  static const UninstallTexts texts{
      .pageTitle = Cp1250("Usuwanie aplikacji"),
      .questionFormat = Cp1250("Czy usunąć aplikację \"%s\" i wszystkie jej składniki z komputera?"),
      .removedFormat = Cp1250("Aplikacja \"%s\" została usunięta z komputera."),
      .removedAtRestartFormat =
          Cp1250("Aplikacja \"%s\" została usunięta z komputera.\r\n"
                 "Pliki, które są w użyciu, zostaną usunięte po ponownym uruchomieniu komputera."),
      .incompleteFormat = Cp1250("Aplikacja \"%s\" nie została usunięta w całości.\r\n"
                                 "Spróbuj ponowić usuwanie lub odwołaj się do pomocy technicznej."),
      .removingShortcuts = Cp1250("Usuwanie skrótów aplikacji..."),
      .removingSettings = Cp1250("Usuwanie ustawień systemu..."),
      .removingFiles = Cp1250("Usuwanie plików aplikacji..."),
      .removingFolders = Cp1250("Usuwanie katalogów aplikacji..."),
      .recordUnreadable = Cp1250Report("Problem usuwania", "Odczytanie zapisu instalacji jest niemożliwe.",
                                 "Zapis instalacji %s nie istnieje lub został uszkodzony.",
                                 ""),
      .fileNotRemoved = Cp1250Report("Problem usuwania", "Usunięcie pliku jest niemożliwe.",
                               "Podczas usuwania pliku %s wystąpił problem",
                               "Dostęp do pliku został odwołany."),
      .registryNotRestored = Cp1250Report("Problem rejestru", "Usunięcie wartości rejestru jest niemożliwe.",
                                    "Podczas usuwania wartości %s wystąpił problem",
                                    "Dostęp do rejestru systemowego został odwołany."),
      .keyNotRemoved = Cp1250Report("Problem rejestru", "Usunięcie klucza rejestru jest niemożliwe.",
                              "Podczas usuwania klucza %s wystąpił problem",
                              "Dostęp do rejestru systemowego został odwołany."),
      .entryNotRemoved = Cp1250Report("Problem rejestru", "Usunięcie aplikacji z listy programów jest niemożliwe.",
                                "Podczas usuwania klucza %s wystąpił problem",
                                "Dostęp do rejestru systemowego został odwołany."),
      .uninstallerNotStarted = Cp1250Report("Problem usuwania", "Uruchomienie deinstalatora jest niemożliwe.",
                                      "Deinstalator nie mógł skopiować się do katalogu tymczasowego.", ""),
      .anotherRunning = Cp1250Report("Problem instalacji", "Instalacja jest już uruchomiona.",
                                     "Poczekaj na jej zakończenie i spróbuj ponownie.", ""),
  };
  return texts;
}

}  // namespace setuvane
