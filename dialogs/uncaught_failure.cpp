#include "dialogs/uncaught_failure.h"

#include <cstdio>
#include <utility>

#include "dialogs/problem_dialog_texts.h"

namespace setuvane {
namespace {

FailureHandler& Handler() {
  static FailureHandler handler;
  return handler;
}

}  // namespace

void SetUncaughtFailureHandler(FailureHandler handler) { Handler() = std::move(handler); }

void ReportUncaughtFailure(const std::string& message) {
  try {
    if (Handler()) {
      Handler()(message);
    } else {
      // fputs, not fprintf: MinGW's C99 fprintf locks the stream through _lock of
      // msvcrt.dll, which its first versions may lack (scripts/windows-functions.tsv).
      std::fputs((message + "\n").c_str(), stderr);
    }
  } catch (...) {
  }
}

std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return ProblemDialogText().unknownFailure;
  }
}

}  // namespace setuvane
