// Archive text on a terminal: names and destination texts come from the archive and
// may hold control characters (a crafted name could move the cursor or recolour the
// terminal), so those are shown as \xNN.
#pragma once

#include <string>

namespace setuvane::pack {

// Archive text converted for the console, with control characters escaped.
std::string Printable(const std::string& archiveText);

}  // namespace setuvane::pack
