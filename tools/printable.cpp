#include "tools/printable.h"

#include <cstdio>

#include "tools/console.h"

namespace setuvane::pack {

std::string Printable(const std::string& text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string PrintableArchiveText(const std::string& archiveText) {
  return Printable(ArchiveTextToConsole(archiveText));
}

}  // namespace setuvane::pack
