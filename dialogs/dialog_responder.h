// Answers in place of the user. An unattended installation has nobody to ask: a
// responder set here takes every question and problem report instead of the
// windows (the message routines consult it first), so that the installation
// logic runs unchanged and its reports reach a log.
#pragma once

#include <functional>
#include <string>

namespace setuvane {

struct DialogResponder {
  // Returns the answer as ShowMessageDialog would (kResultOk, kResultNo, ...).
  std::function<int(const std::string& title, const std::string& text, int kind)> message;
  std::function<void(const std::string& title, const std::string& message, const std::string& hint,
                     const std::string& details)>
      problem;
};

// Empty members (the default) leave the windows to answer.
void SetDialogResponder(DialogResponder responder);
const DialogResponder& CurrentDialogResponder();

// The answer nobody gives: OK to a notice, "Nie" to a question (so that a
// settings or data file the user already has stays), "Anuluj" where offered.
int UnattendedAnswer(int kind);

}  // namespace setuvane
