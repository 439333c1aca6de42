#include "core/run/report_texts.h"

namespace setuvane {

std::string FormatOne(const std::string& format, const std::string& value) {
  std::string text = format;
  size_t at = text.find("%s");
  if (at == std::string::npos) at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace setuvane
