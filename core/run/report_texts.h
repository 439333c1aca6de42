// The texts of the installer's reports, kept together per window in tables of
// UTF-8 texts: the four texts of a problem report, and the one placeholder their
// formats use.
#pragma once

#include <string>
#include <utility>

namespace setuvane {

// Four texts of a problem report, in the dialog's order. (A constructor: the text
// tables build them with parentheses, which for an aggregate clang 14, the fuzz
// targets' compiler, does not take.)
struct ReportTexts {
  ReportTexts() = default;
  ReportTexts(std::string title, std::string message, std::string hint, std::string details)
      : title(std::move(title)), message(std::move(message)), hint(std::move(hint)), details(std::move(details)) {}
  std::string title, message, hint, details;
};

// `format` with its one "%s" (or "%d") replaced by `value`.
std::string FormatOne(const std::string& format, const std::string& value);

}  // namespace setuvane
