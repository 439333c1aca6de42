// Problems of the package checks as the tool prints them, for comparing in tests.
#pragma once

#include <string>
#include <vector>

#include "tools/build/problems.h"

namespace setuvane::pack {

inline std::vector<std::string> ProblemTexts(const Problems& problems) {
  std::vector<std::string> texts;
  for (const Problem& p : problems.All()) texts.push_back(ProblemText(p));
  return texts;
}

}  // namespace setuvane::pack
