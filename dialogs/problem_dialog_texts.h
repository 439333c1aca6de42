// The texts of the problem dialog.
#pragma once

#include <string>

namespace setuvane {

struct ProblemDialogTexts {
  std::string caption;  // design-time caption, always replaced by the title
  std::string close;
  std::string details;
  std::string send;
  std::string sendFailed;  // the notice when the shell refuses the e-mail link
  std::string unknownFailure;  // the details of a failure that carries no text
};

const ProblemDialogTexts& ProblemDialogText();

}  // namespace setuvane
