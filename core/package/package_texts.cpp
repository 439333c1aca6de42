#include "core/package/package_texts.h"

namespace setuvane {

const PackageTexts& PackageText() {
  static const PackageTexts texts{
      .packageMissing = ReportTexts("Problem instalacji", "Odczytanie pliku instalacyjnego %s jest niemożliwe.",
                                    "Sprecyzowany plik nie istnieje. ",
                                    "Sprawdź poprawność nośnika instalacji lub skontaktuj się z producentem w "
                                    "sprawie uzyskania nowego nośnika."),
      .payloadMissing = ReportTexts("Problem instalacji", "Odczytanie pliku instalacyjnego \"%s\" jest niemożliwe.",
                                    "Sprecyzowany plik nie istnieje. ",
                                    "Sprawdź poprawność nośnika instalacji lub skontaktuj się z producentem w "
                                    "sprawie uzyskania nowego nośnika."),
      .packageInvalid = ReportTexts("Problem instalacji", "Nieprawidłowy źródłowy pakiet instalacji.",
                                    "Upewnij się że instalacja nie została uszkodzona", ""),
      .settingsUnreadable = ReportTexts("Problem instalacji", "Nieprawidłowy źródłowy rejestr instalacji.",
                                        "Odczytanie rejestru instalacji %s jest niemożliwe.", ""),
  };
  return texts;
}

}  // namespace setuvane
