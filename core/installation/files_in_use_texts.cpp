#include "core/installation/files_in_use_texts.h"

namespace setuvane {

const FilesInUseTexts& FilesInUseText() {
  static const FilesInUseTexts texts{
      .programsHold = "Pliki, które instalacja musi zastąpić, są używane przez programy:",
      .filesHeld = "Pliki, które instalacja musi zastąpić, są używane przez inne programy:",
      .atRestart = "Pliki, które pozostaną w użyciu, zostaną zastąpione po ponownym uruchomieniu komputera.",
      .closeAndGoOn = "Zamknij programy i kontynuuj",
      .retry = "Ponów",
      .stop = "Przerwij",
  };
  return texts;
}

}  // namespace setuvane
