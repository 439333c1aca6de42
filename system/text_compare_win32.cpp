#include "system/text_compare.h"

#include <windows.h>

#include <optional>
#include <string>

#include "system/wide_or_ansi_choice_win32.h"

namespace setuvane {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (!win32::AnsiCalls()) {
    const std::wstring x = win32::Wide(a), y = win32::Wide(b);
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.data(), static_cast<int>(x.size()), y.data(),
                          static_cast<int>(y.size())) == CSTR_EQUAL;
  }
  const std::optional<std::string> x = win32::Ansi(a), y = win32::Ansi(b);
  if (!x || !y) return a == b;  // a text the code page cannot hold equals only itself
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x->data(), static_cast<int>(x->size()), y->data(),
                        static_cast<int>(y->size())) == CSTR_EQUAL;
}

}  // namespace setuvane
