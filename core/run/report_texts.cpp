#include "core/run/report_texts.h"

#include "system/cp1250.h"

namespace setuvane {

ReportTexts Cp1250Report(const char* title, const char* message, const char* hint, const char* details) {
  return {Cp1250(title), Cp1250(message), Cp1250(hint), Cp1250(details)};
}

std::string FormatOne(const std::string& format, const std::string& value) {
  std::string text = format;
  size_t at = text.find("%s");
  if (at == std::string::npos) at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace setuvane
