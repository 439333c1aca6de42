// The texts of the installer's reports, kept together per window in tables of
// Windows-1250 texts: the four texts of a problem report, and the one placeholder
// their formats use.
#pragma once

#include <string>

namespace setuvane {

// Four texts of a problem report, in the dialog's order.
struct ReportTexts {
  std::string title, message, hint, details;
};

// The four texts as Windows-1250, from the UTF-8 of the source.
ReportTexts Cp1250Report(const char* title, const char* message, const char* hint, const char* details);

// `format` with its one "%s" (or "%d") replaced by `value`.
std::string FormatOne(const std::string& format, const std::string& value);

}  // namespace setuvane
