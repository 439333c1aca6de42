// The texts of the question window.
#pragma once

#include <string>

namespace setuvane {

struct MessageDialogTexts {
  std::string ok;
  std::string yes;
  std::string no;
  std::string cancel;
  std::string closeHint;  // tooltip of the close button, also the menu item
  std::string copy;
  std::string send;
};

const MessageDialogTexts& MessageDialogText();

}  // namespace setuvane
