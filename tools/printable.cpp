#include "tools/printable.h"

#include <cstdio>

#include "tools/console.h"

namespace setuvane::pack {

std::string Printable(const std::string& archiveText) {
  std::string shown;
  for (const char c : ArchiveTextToConsole(archiveText)) {
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

}  // namespace setuvane::pack
