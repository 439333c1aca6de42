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
      std::fprintf(stderr, "%s\n", message.c_str());
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
