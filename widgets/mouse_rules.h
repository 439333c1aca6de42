// Small rules of the mouse handling shared by the controls, kept portable.
#pragma once

#include <optional>
#include <string_view>

namespace setuvane {

// A plain button's release counts inside when 0 <= x < width and 0 <= y <= height:
// the bottom edge counts as inside, the right edge does not.
bool PlainButtonContains(int x, int y, int width, int height);

// A radio button's release counts inside with both far edges included.
bool RadioButtonContains(int x, int y, int width, int height);

// The accelerator of a caption: the character after a single "&" ("&&" is a
// literal ampersand), upper-cased for comparison; none without one.
std::optional<char32_t> CaptionAccelerator(std::string_view caption);

// True when the character typed is the caption's accelerator, ignoring case.
bool IsCaptionAccelerator(std::string_view caption, char32_t typed);

}  // namespace setuvane
