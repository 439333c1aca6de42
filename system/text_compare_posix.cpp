#include "system/text_compare.h"

#include "system/cp1250.h"

namespace setuvane {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return UpperCp1250Letters(a) == UpperCp1250Letters(b);
}

}  // namespace setuvane
