#include "core/uninstall_texts.h"

#include "system/cp1250.h"

namespace setuvane {
namespace {

ReportTexts Report(const char* title, const char* message, const char* hint, const char* details) {
  return {Cp1250(title), Cp1250(message), Cp1250(hint), Cp1250(details)};
}

}  // namespace

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
      .recordUnreadable = Report("Problem usuwania", "Odczytanie zapisu instalacji jest niemożliwe.",
                                 "Zapis instalacji %s nie istnieje lub został uszkodzony.",
                                 ""),
      .fileNotRemoved = Report("Problem usuwania", "Usunięcie pliku jest niemożliwe.",
                               "Podczas usuwania pliku %s wystąpił problem",
                               "Dostęp do pliku został odwołany."),
      .registryNotRestored = Report("Problem rejestru", "Usunięcie wartości rejestru jest niemożliwe.",
                                    "Podczas usuwania wartości %s wystąpił problem",
                                    "Dostęp do rejestru systemowego został odwołany."),
      .keyNotRemoved = Report("Problem rejestru", "Usunięcie klucza rejestru jest niemożliwe.",
                              "Podczas usuwania klucza %s wystąpił problem",
                              "Dostęp do rejestru systemowego został odwołany."),
      .entryNotRemoved = Report("Problem rejestru", "Usunięcie aplikacji z listy programów jest niemożliwe.",
                                "Podczas usuwania klucza %s wystąpił problem",
                                "Dostęp do rejestru systemowego został odwołany."),
      .uninstallerNotStarted = Report("Problem usuwania", "Uruchomienie deinstalatora jest niemożliwe.",
                                      "Deinstalator nie mógł skopiować się do katalogu tymczasowego.", ""),
  };
  return texts;
}

}  // namespace setuvane
