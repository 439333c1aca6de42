// The sizes and decisions of the problem dialog that need no window.
#pragma once

#include <string>
#include <string_view>

namespace setuvane {

// Outer heights of the dialog and heights of its separator line, collapsed and
// with the details area open.
inline constexpr int kProblemCollapsedHeight = 120;
inline constexpr int kProblemExpandedHeight = 304;
inline constexpr int kSeparatorCollapsedHeight = 80;
inline constexpr int kSeparatorExpandedHeight = 258;

struct DetailsView {
  bool expanded = false;
  int outerHeight = 0;
  int separatorHeight = 0;
  bool sendVisible = false;
};

// The view after "Szczegóły" (or Enter) when the details are `expanded` now.
DetailsView ToggleDetails(bool expanded);

// The caption of a problem report: `title` as it is, or the application title
// when `title` holds nothing but blanks and control characters.
std::string ProblemCaption(std::string_view title, std::string_view applicationTitle);

// The height of a details line whose text, wrapped to the line's width, measures
// `textHeight`: 26 below 20 pixels, else the text's height + 6.
int DetailLineHeight(int textHeight);

}  // namespace setuvane
