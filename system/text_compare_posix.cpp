#include "system/text_compare.h"

#include <algorithm>

#include "system/cp1250.h"

namespace setuvane {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return Cp1250Upper(x) == Cp1250Upper(y);
  });
}

}  // namespace setuvane
