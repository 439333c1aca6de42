// What the question window shows for each kind, and which answer a button or a key
// gives. The answer is decided by the buttons' captions, as the window's handlers
// see them, not by the kind.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace setuvane {

enum class Bubble { kWarning, kQuestion, kAsterisk };

struct MessageDialogLayout {
  Bubble bubble = Bubble::kWarning;
  // Captions of btn1 (right), btn2 (middle) and btn3 (left); an empty caption
  // leaves the button hidden.
  std::array<std::string, 3> captions;
};

MessageDialogLayout LayoutForKind(int kind);

// The modal result that a click on a button with this caption sets: "OK" 1, "Tak"
// 6, "Nie" 7, "Anuluj" 2, in any letter case; 0 (nothing) for any other caption.
int ResultForCaption(std::string_view caption);

// The modal result that Enter (13) or Esc (27) sets, given the captions of btn1 and
// btn2; 0 when the key sets nothing. Enter clicks btn1 when it reads "OK", then
// btn2 when it reads "Tak"; Esc clicks btn1 when it reads "OK" or "Nie".
int ResultForKey(int key, std::string_view btn1Caption, std::string_view btn2Caption);

}  // namespace setuvane
