#include "dialogs/problem_dialog_texts.h"

namespace setuvane {

const ProblemDialogTexts& ProblemDialogText() {
  static const ProblemDialogTexts texts{
      .caption = "Informacja",
      .close = "Zamknij",
      .details = "Szczegóły",
      .send = "Wyślij",
      .sendFailed = "Wysłanie komunikatu producentowi okazało się niemożliwe.",
      .unknownFailure = "Nieznany wyjątek.",
  };
  return texts;
}

}  // namespace setuvane
