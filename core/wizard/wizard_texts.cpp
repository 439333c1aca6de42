#include "core/wizard/wizard_texts.h"

#include "core/run/report_texts.h"
#include "system/cp1250.h"

namespace setuvane {
namespace {

std::vector<std::string> Lines(std::initializer_list<const char*> utf8) {
  std::vector<std::string> lines;
  for (const char* line : utf8) lines.push_back(Cp1250(line));
  return lines;
}

}  // namespace

const WizardTexts& WizardText() {
  static const WizardTexts texts{
      .welcomeTitle = Cp1250("Witamy w instalacji"),
      .locationTitle = Cp1250("Lokalizacja aplikacji"),
      .installTitle = Cp1250("Instalowanie aplikacji"),
      .completeTitle = Cp1250("Zakończenie instalacji"),
      .welcomeLines = Lines({
          "Witamy w instalacji aplikacji Quorbalite. Ten program ",
          "pomoże państwu zainstalować oprogramowanie na ",
          "państwa komputerze.",
          "",
          "Przed rozpoczęciem instalacji zaleca się zamknięcie",
          "wszystkich aktywnych aplikacji oraz przygotowanie",
          "dokumentów licencyjnych dostarczanych z produktem.",
          "",
          "W celu otwarcia następnego ekranu instalacyjnego",
          "należy wybrać przycisk \"następny\", aby powrócić do",
          "poprzedniego ekranu należy użyć przycisku \"poprzedni\".",
          "",
          "Podczas instalacji opgramowania możecie państwo",
          "korzystać z pomocy technicznej w sprawie instalacji",
          "produktu lub weryfikacji jego legalności.",
      }),
      .locationTooltipLines = Lines({
          "Wybierz katalog, w którym zostanie zainstalowany ",
          "produkt. Jeżeli sprecyzowany katalog nie istnieje, ",
          "zostanie utworzony. Jeżeli sprecyzowany katalog ",
          "zawiera pliki, zostaną one usunięte.",
      }),
      .completeLines = Lines({
          "Instalacja oprogramowania została zakończona. Jeżeli ",
          "podczas instalacji nie wystąpiły żadne problemy możliwe ",
          "jest uruchomienie zainstalowanych programów. Jeżeli ",
          "instalacja dostarczyła informacji o problemach, należy ",
          "skontaktować się z pomocą techniczną produktu.",
          "",
          "Dziękujemy że wybraliście Państwo rozwiązania ",
          "Quorbalite jako godne waszego zaufania. Wsparcie ",
          "udzielane naszej firmie pozwala tworzyć nam jeszcze ",
          "lepsze produkty wyznaczające standardy w branży ",
          "informatycznej.",
      }),
      .prior = Cp1250("< Poprzedni"),
      .next = Cp1250("Następny >"),
      .close = Cp1250("Zamknij"),
      .folderLabel = Cp1250("Katalog:"),
      .browseCaption = Cp1250("..."),
      .restartChoice = Cp1250("Tak, mogę teraz ponownie uruchomić komputer."),
      .resetChoice = Cp1250("Nie, chcę teraz powrócić do systemu Windows."),
      .freeSpaceFormat = Cp1250("Dostępne miejsce: %d MB"),
      .freeSpaceUnknown = Cp1250("Dostępne miejsce: nieokreślone"),
      .folderDialogTitle = Cp1250("Wybierz katalog"),
      .folderDialogText = Cp1250("Wybierz katalog, w którym zostanie zainstalowany produkt. Jeżeli katalog "
                                 "nie istnieje, zostanie utworzony."),
      .updatingSystem = Cp1250("Aktualizacja systemu..."),
      .updatingSettings = Cp1250("Aktualizacja ustawień systemu..."),
      .creatingShortcuts = Cp1250("Tworzenie skrótów aplikacji..."),
      .stopQuestion = Cp1250("Czy na pewno chcesz przerwać instalację?\r\nInstalacja produktu nie została ukończona."),
      .overwriteQuestionFormat = Cp1250("Zastąpić plik \"%s\" nową wersją z instalatora?\r\n"
                                        "Ten plik zawiera ustawienia lub informacje użytkownika."),
      .licenseUnreadable = Cp1250Report("Problem instalacji",
                                  "Odczytanie informacji dotyczących licencji jest niemożliwe.",
                                  "Upewnij się instalacja pochodzi od wiarygodnego dostawcy.", ""),
      .readmeUnreadable = Cp1250Report("Problem instalacji", "Odczytanie informacji dotyczących produktu jest niemożliwe.",
                                 "Upewnij się że instalacja nie została uszkodzona.", ""),
      .folderTooShort = Cp1250Report("Nieprawidłowa ścieżka",
                               "Sprecyzowana lokalizacja aplikacji nie może zostać zaakceptowana.",
                               "Wybierz domyślną lokalizację lub sprecyzuj inny folder instalacji.",
                               "Selekcja lokalizacji aplikacji została odwołana."),
      .folderTooSmall = Cp1250Report("Nieprawidłowy wolumin",
                               "Sprecyzowana lokalizacja aplikacji nie posiada wystarczająco dużo przestrzeni "
                               "dyskowej.",
                               "Zwolnij co najmniej 10 MB miejsca na dysku docelowym lub wybierz inną lokalizację.",
                               "Selekcja lokalizacji aplikacji została odwołana."),
      .folderNotCreated = Cp1250Report("Problem instalacji", "Utworzenie bieżącego katalogu jest niemożliwe.",
                                 "Instalator nie mógł utworzyć katalogu ", ""),
      .folderNotOpened = Cp1250Report("Problem instalacji", "Otwarcie bieżącego katalogu jest niemożliwe.",
                                "Instalator nie mógł otworzyć katalogu ", ""),
      .fileNotInstalled = Cp1250Report("Problem instalacji", "Instalacja pliku jest niemożliwa.",
                                 "Instalator nie mógł utworzyć pliku ", ""),
      .destinationUnknown = Cp1250("Ten system nie ma katalogu, który wskazuje pakiet."),
      .destinationNotFull = Cp1250("Katalog docelowy nie jest pełną ścieżką."),
  };
  return texts;
}

}  // namespace setuvane
