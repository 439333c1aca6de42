// Line breaks for the multi-line edit control, which only breaks at CR LF, and
// texts given line by line made to fit a width that the lines were not made for.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace setuvane {

// Turns every lone CR and lone LF into CR LF; CR LF pairs stay as they are.
std::string WithCrLfBreaks(std::string_view text);

// The lines joined with CR LF, paragraph by paragraph (a paragraph ends at an empty
// line): where each line of a paragraph `fits`, its breaks stay as they are; where
// one does not, the paragraph becomes one line, its lines joined by a blank, for
// the control to wrap at word boundaries. `fits` sees lines without their
// trailing blanks.
std::string LinesToFit(const std::vector<std::string>& lines, const std::function<bool(std::string_view)>& fits);

}  // namespace setuvane
