#include "core/wizard/wizard_texts.h"

#include "core/run/report_texts.h"

namespace setuvane {
namespace {

std::vector<std::string> Lines(std::initializer_list<const char*> lines) { return {lines.begin(), lines.end()}; }

}  // namespace

const WizardTexts& WizardText() {
  static const WizardTexts texts{
      .welcomeTitle = "Witamy w instalacji",
      .locationTitle = "Lokalizacja aplikacji",
      .installTitle = "Instalowanie aplikacji",
      .completeTitle = "Zakończenie instalacji",
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
      .prior = "< Poprzedni",
      .next = "Następny >",
      .close = "Zamknij",
      .folderLabel = "Katalog:",
      .browseCaption = "...",
      .restartChoice = "Tak, mogę teraz ponownie uruchomić komputer.",
      .resetChoice = "Nie, chcę teraz powrócić do systemu Windows.",
      .freeSpaceFormat = "Dostępne miejsce: %d MB",
      .freeSpaceUnknown = "Dostępne miejsce: nieokreślone",
      .folderDialogTitle = "Wybierz katalog",
      .folderDialogText =
          "Wybierz katalog, w którym zostanie zainstalowany produkt. Jeżeli katalog "
          "nie istnieje, zostanie utworzony.",
      .updatingSystem = "Aktualizacja systemu...",
      .updatingSettings = "Aktualizacja ustawień systemu...",
      .creatingShortcuts = "Tworzenie skrótów aplikacji...",
      .stopQuestion = "Czy na pewno chcesz przerwać instalację?\r\nInstalacja produktu nie została ukończona.",
      .overwriteQuestionFormat =
          "Zastąpić plik \"%s\" nową wersją z instalatora?\r\n"
          "Ten plik zawiera ustawienia lub informacje użytkownika.",
      .licenseUnreadable =
          ReportTexts("Problem instalacji", "Odczytanie informacji dotyczących licencji jest niemożliwe.",
                      "Upewnij się instalacja pochodzi od wiarygodnego dostawcy.", ""),
      .readmeUnreadable =
          ReportTexts("Problem instalacji", "Odczytanie informacji dotyczących produktu jest niemożliwe.",
                      "Upewnij się że instalacja nie została uszkodzona.", ""),
      .folderTooShort =
          ReportTexts("Nieprawidłowa ścieżka", "Sprecyzowana lokalizacja aplikacji nie może zostać zaakceptowana.",
                      "Wybierz domyślną lokalizację lub sprecyzuj inny folder instalacji.",
                      "Selekcja lokalizacji aplikacji została odwołana."),
      .folderTooSmall =
          ReportTexts("Nieprawidłowy wolumin",
                      "Sprecyzowana lokalizacja aplikacji nie posiada wystarczająco dużo przestrzeni "
                      "dyskowej.",
                      "Zwolnij co najmniej 10 MB miejsca na dysku docelowym lub wybierz inną lokalizację.",
                      "Selekcja lokalizacji aplikacji została odwołana."),
      .folderNotHeld =
          ReportTexts("Nieprawidłowa ścieżka", "Sprecyzowana lokalizacja aplikacji nie może zostać zaakceptowana.",
                      "Nazwa katalogu zawiera znaki, których nie obsługuje strona kodowa tego systemu "
                      "Windows. Sprecyzuj inny folder instalacji.",
                      "Selekcja lokalizacji aplikacji została odwołana."),
      .folderNotCreated = ReportTexts("Problem instalacji", "Utworzenie bieżącego katalogu jest niemożliwe.",
                                      "Instalator nie mógł utworzyć katalogu ", ""),
      .folderNotOpened = ReportTexts("Problem instalacji", "Otwarcie bieżącego katalogu jest niemożliwe.",
                                     "Instalator nie mógł otworzyć katalogu ", ""),
      .fileNotInstalled = ReportTexts("Problem instalacji", "Instalacja pliku jest niemożliwa.",
                                      "Instalator nie mógł utworzyć pliku ", ""),
      .destinationUnknown = "Ten system nie ma katalogu, który wskazuje pakiet.",
      .destinationNotFull = "Katalog docelowy nie jest pełną ścieżką.",
      .nameNotHeld = "Nazwa pliku zawiera znaki, których nie obsługuje strona kodowa tego systemu Windows.",
  };
  return texts;
}

}  // namespace setuvane
