#include "starter/starter_texts.h"

namespace setuvane::starter {

const StarterTexts& StarterText() {
  static const StarterTexts texts{
      .title = L"Problem instalacji",
      .damaged = L"Nieprawidłowy źródłowy pakiet instalacji.\r\n\r\n"
                 L"Upewnij się że instalacja nie została uszkodzona",
      .noFolder = L"Rozpakowanie instalatora do katalogu tymczasowego jest niemożliwe.\r\n\r\n"
                  L"Zwolnij miejsce na dysku systemowym i spróbuj ponownie.",
  };
  return texts;
}

}  // namespace setuvane::starter
