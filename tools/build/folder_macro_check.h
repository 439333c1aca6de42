// Tokens in angle brackets that the installer would leave in a path unchanged: not a
// folder macro and, where the installer substitutes it, not "<programfolder>".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setuvane::pack {

// The unknown tokens of `text`, as written, in order.
std::vector<std::string> UnknownMacros(std::string_view text, bool programFolderKnown);

// "'<a>', '<b>'" for a message.
std::string QuotedList(const std::vector<std::string>& tokens);

}  // namespace setuvane::pack
