#include "dialogs/problem_dialog_texts.h"

#include "system/cp1250.h"

namespace setuvane {

const ProblemDialogTexts& ProblemDialogText() {
  static const ProblemDialogTexts texts{
      .caption = Cp1250("Informacja"),
      .close = Cp1250("Zamknij"),
      .details = Cp1250("Szczegóły"),
      .send = Cp1250("Wyślij"),
      .sendFailed = Cp1250("Wysłanie komunikatu producentowi okazało się niemożliwe."),
      .unknownFailure = Cp1250("Nieznany wyjątek."),
  };
  return texts;
}

}  // namespace setuvane
