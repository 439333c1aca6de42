#include "dialogs/problem_dialog_logic.h"

#include <algorithm>

namespace setuvane {

DetailsView ToggleDetails(bool expanded) {
  if (!expanded) {
    return {true, kProblemExpandedHeight, kSeparatorExpandedHeight, true};
  }
  return {false, kProblemCollapsedHeight, kSeparatorCollapsedHeight, false};
}

std::string ProblemCaption(std::string_view title, std::string_view applicationTitle) {
  const bool blank =
      std::ranges::all_of(title, [](char c) { return static_cast<unsigned char>(c) <= ' '; });
  return std::string(blank ? applicationTitle : title);
}

int DetailLineHeight(int textHeight) { return textHeight < 20 ? 26 : textHeight + 6; }

}  // namespace setuvane
