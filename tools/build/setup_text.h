// The setup texts of a package (its setup files whose names end in ".inf"): the
// installer reads them as Windows-1250 text whose lines end at a carriage return.
// Before a package is written their bytes are made final (converted from UTF-8 when
// asked) and checked for what the installer would read wrongly.
#pragma once

#include <string>
#include <string_view>

#include "tools/build/problems.h"

namespace setuvane::pack {

// True for the setup files the installer reads as text.
bool IsSetupText(std::string_view storedName);

// The bytes to store for a setup text: UTF-8 converted to Windows-1250 when
// `fromUtf8` (a leading byte order mark dropped), the file's own otherwise. Reports
// characters without a Windows-1250 form, bytes that are no Windows-1250 character,
// a text that looks like UTF-8 when not converted, line feeds without a carriage
// return (an error in the three scripts, which then read as one line) and text
// after the character 26, which ends the file for the installer.
std::string PrepareSetupText(const std::string& bytes, std::string_view storedName, bool fromUtf8,
                             const std::string& file, Problems& problems);

// Line of `offset` in `text` as an editor counts it (CR, LF and CR LF end a line).
int EditorLine(std::string_view text, size_t offset);

}  // namespace setuvane::pack
