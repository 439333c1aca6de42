// Text on a terminal: names and destination texts come from the archive and may
// hold control characters (a crafted name could move the cursor or recolour the
// terminal), so those are shown as \xNN.
#pragma once

#include <string>

namespace setuvane::pack {

// UTF-8 text with control characters escaped.
std::string Printable(const std::string& text);

// Archive text (Windows-1250) converted for the console, with control characters
// escaped.
std::string PrintableArchiveText(const std::string& archiveText);

}  // namespace setuvane::pack
