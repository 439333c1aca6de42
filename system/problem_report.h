// How the installation steps below the windows report a problem: the four texts of
// the problem dialog, handed to a reporter that the caller supplies (the wizard
// shows the dialog; an unattended run writes the texts to its log).
#pragma once

#include <functional>
#include <string>

namespace setuvane {

struct Problem {
  std::string title, message, hint, details;  // UTF-8
};

using ProblemReporter = std::function<void(const Problem&)>;

}  // namespace setuvane
