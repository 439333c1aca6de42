#include "starter/starter_texts.h"

namespace setuvane::starter {

const StarterTexts& StarterText() {
  static const StarterTexts texts{
      .title = "Problem instalacji",
      .damaged = "Nieprawidłowy źródłowy pakiet instalacji.\r\n\r\n"
                 "Upewnij się że instalacja nie została uszkodzona",
      .noFolder = "Rozpakowanie instalatora do katalogu tymczasowego jest niemożliwe.\r\n\r\n"
                  "Zwolnij miejsce na dysku systemowym i spróbuj ponownie.",
  };
  return texts;
}

}  // namespace setuvane::starter
