#include "tools/password_option.h"

#include <cstdio>

#include "tools/command.h"
#include "tools/console.h"

namespace setuvane::pack {

void AddPasswordOption(CLI::App& command, std::string& password) {
  password = kPackagePassword;
  command.add_option("-P,--password", password, "password of encrypted entries (default: the package password)")
      ->option_text("PASSWORD");
}

std::optional<std::string> PasswordText(const std::string& given, const char* command) {
  std::optional<std::string> password = ArgumentToArchiveText(given);
  if (!password) std::fprintf(stderr, "setuvane-pack %s: the password has no Windows-1250 form\n", command);
  return password;
}

}  // namespace setuvane::pack
