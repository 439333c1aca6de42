// The message routines for native tests: each call is recorded and answered from
// a preset value instead of showing a window.
#pragma once

#include <string>
#include <vector>

namespace setuvane::fakes {

struct ProblemReport {
  std::string title, message, hint, details;
};

struct MessageRequest {
  std::string title, text;
  int kind;
};

struct RecordingDialogs {
  std::vector<ProblemReport> problems;
  std::vector<MessageRequest> messages;
  int answer = 1;
  std::vector<int> answers;  // given first, one per question, before `answer`
};

// The recorder the routines use in this test program.
RecordingDialogs& Dialogs();

}  // namespace setuvane::fakes
