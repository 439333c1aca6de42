// The texts of the installer's reports, kept together per window in tables of
// UTF-8 texts: the four texts of a problem report, and the one placeholder their
// formats use.
#pragma once

#include <string>

namespace setuvane {

// Four texts of a problem report, in the dialog's order.
struct ReportTexts {
  std::string title, message, hint, details;
};

// `format` with its one "%s" (or "%d") replaced by `value`.
std::string FormatOne(const std::string& format, const std::string& value);

}  // namespace setuvane
