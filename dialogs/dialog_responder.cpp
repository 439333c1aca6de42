#include "dialogs/dialog_responder.h"

#include "dialogs/message_routines.h"

namespace setuvane {
namespace {

DialogResponder& Responder() {
  static DialogResponder responder;
  return responder;
}

}  // namespace

void SetDialogResponder(DialogResponder responder) { Responder() = std::move(responder); }

const DialogResponder& CurrentDialogResponder() { return Responder(); }

int UnattendedAnswer(int kind) {
  switch (kind) {
    case kKindWarning:
    case kKindError:
      return kResultOk;
    case kKindQuestion:
      return kResultNo;
    default:
      return kResultCancel;
  }
}

}  // namespace setuvane
