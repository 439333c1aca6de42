#include "core/package/package_texts.h"

#include "system/cp1250.h"

namespace setuvane {

const PackageTexts& PackageText() {
  static const PackageTexts texts{
      .packageMissing = Cp1250Report("Problem instalacji", "Odczytanie pliku instalacyjnego %s jest niemożliwe.",
                               "Sprecyzowany plik nie istnieje. ",
                               "Sprawdź poprawność nośnika instalacji lub skontaktuj się z producentem w "
                               "sprawie uzyskania nowego nośnika."),
      .payloadMissing = Cp1250Report("Problem instalacji", "Odczytanie pliku instalacyjnego \"%s\" jest niemożliwe.",
                               "Sprecyzowany plik nie istnieje. ",
                               "Sprawdź poprawność nośnika instalacji lub skontaktuj się z producentem w "
                               "sprawie uzyskania nowego nośnika."),
      .packageInvalid = Cp1250Report("Problem instalacji", "Nieprawidłowy źródłowy pakiet instalacji.",
                               "Upewnij się że instalacja nie została uszkodzona", ""),
      .settingsUnreadable = Cp1250Report("Problem instalacji", "Nieprawidłowy źródłowy rejestr instalacji.",
                                   "Odczytanie rejestru instalacji %s jest niemożliwe.", ""),
  };
  return texts;
}

}  // namespace setuvane
