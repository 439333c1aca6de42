#include "dialogs/message_dialog_texts.h"

#include "system/cp1250.h"

namespace setuvane {

const MessageDialogTexts& MessageDialogText() {
  static const MessageDialogTexts texts{
      .ok = Cp1250("OK"),
      .yes = Cp1250("Tak"),
      .no = Cp1250("Nie"),
      .cancel = Cp1250("Anuluj"),
      .closeHint = Cp1250("Zamknij"),
      .copy = Cp1250("Kopiuj"),
      .send = Cp1250("Wyślij"),
  };
  return texts;
}

}  // namespace setuvane
