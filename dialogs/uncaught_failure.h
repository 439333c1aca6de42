// Failures that no routine caught. Window procedures must not let a C++ exception
// unwind into Windows, so every handler runs through CallReportingFailures, which
// hands an escaping exception's text to the application's handler (the main
// window's appEventsException) and lets the program go on.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace setuvane {

using FailureHandler = std::function<void(const std::string& message)>;

// Installs the application's handler; an empty function restores the default,
// which writes the text to the standard error stream.
void SetUncaughtFailureHandler(FailureHandler handler);

// Hands the failure's text to the application's handler. A failure inside the
// handler itself is swallowed: there is nobody left to tell.
void ReportUncaughtFailure(const std::string& message);

// The text of the exception being handled (a non-standard one has no text of its own).
std::string CurrentExceptionText();

template <typename Handler>
void CallReportingFailures(Handler&& handler) noexcept {
  try {
    handler();
  } catch (...) {
    ReportUncaughtFailure(CurrentExceptionText());
  }
}

}  // namespace setuvane
