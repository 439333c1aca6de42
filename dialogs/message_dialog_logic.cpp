#include "dialogs/message_dialog_logic.h"

#include <algorithm>
#include <cctype>

#include "dialogs/message_dialog_texts.h"
#include "dialogs/message_routines.h"

namespace setuvane {
namespace {

constexpr int kEnter = 13;
constexpr int kEscape = 27;

bool SameCaption(std::string_view a, std::string_view b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::toupper(x) == std::toupper(y); });
}

}  // namespace

MessageDialogLayout LayoutForKind(int kind) {
  const MessageDialogTexts& t = MessageDialogText();
  switch (kind) {
    case kKindWarning:
      return {Bubble::kWarning, {t.ok, "", ""}};
    case kKindError:
      return {Bubble::kAsterisk, {t.ok, "", ""}};
    case kKindQuestion:
      return {Bubble::kQuestion, {t.no, t.yes, ""}};
    case kKindQuestionCancel:
      return {Bubble::kWarning, {t.cancel, t.no, t.yes}};
    default:
      return {};  // the design-time bubble, no buttons
  }
}

int ResultForCaption(std::string_view caption) {
  const MessageDialogTexts& t = MessageDialogText();
  if (SameCaption(caption, t.ok)) return kResultOk;
  if (SameCaption(caption, t.yes)) return kResultYes;
  if (SameCaption(caption, t.no)) return kResultNo;
  if (SameCaption(caption, t.cancel)) return kResultCancel;
  return 0;
}

int ResultForKey(int key, std::string_view btn1Caption, std::string_view btn2Caption) {
  const MessageDialogTexts& t = MessageDialogText();
  int result = 0;
  if (key == kEnter) {
    if (SameCaption(btn1Caption, t.ok)) result = ResultForCaption(btn1Caption);
    if (SameCaption(btn2Caption, t.yes)) result = ResultForCaption(btn2Caption);
  } else if (key == kEscape) {
    if (SameCaption(btn1Caption, t.ok)) result = ResultForCaption(btn1Caption);
    if (SameCaption(btn1Caption, t.no)) result = ResultForCaption(btn1Caption);
  }
  return result;
}

}  // namespace setuvane
