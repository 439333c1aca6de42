#include "dialogs/message_dialog_texts.h"

namespace setuvane {

const MessageDialogTexts& MessageDialogText() {
  static const MessageDialogTexts texts{
      .ok = "OK",
      .yes = "Tak",
      .no = "Nie",
      .cancel = "Anuluj",
      .closeHint = "Zamknij",
      .copy = "Kopiuj",
      .send = "Wyślij",
  };
  return texts;
}

}  // namespace setuvane
