#include "tools/password_option.h"

#include <cstdio>

#include "tools/command.h"
#include "tools/console.h"

namespace setuvane::pack {

std::optional<std::string> PasswordOption(const ParsedOptions& options, const char* command) {
  const auto given = options.values.find('P');
  if (given == options.values.end()) return std::string(kPackagePassword);
  std::optional<std::string> password = ArgumentToArchiveText(given->second);
  if (!password) std::fprintf(stderr, "setuvane-pack %s: the password has no Windows-1250 form\n", command);
  return password;
}

}  // namespace setuvane::pack
