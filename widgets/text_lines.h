// Line breaks for the multi-line edit control, which only breaks at CR LF.
#pragma once

#include <string>
#include <string_view>

namespace setuvane {

// Turns every lone CR and lone LF into CR LF; CR LF pairs stay as they are.
std::string WithCrLfBreaks(std::string_view text);

}  // namespace setuvane
