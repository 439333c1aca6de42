#include "tools/options.h"

#include <cstdio>

namespace setuvane::pack {
namespace {

// `withValue` and `flags` list the letters allowed.
std::optional<ParsedOptions> ParseOptions(const Arguments& arguments, const std::string& withValue,
                                          const std::string& flags, const char* command) {
  ParsedOptions parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (optionsEnded || a.size() < 2 || a[0] != '-') {
      parsed.positional.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--help" || a == "-h") {
      parsed.help = true;
    } else if (a.size() == 2 && withValue.find(a[1]) != std::string::npos) {
      if (i + 1 == arguments.size()) {
        std::fprintf(stderr, "setuvane-pack %s: option %s needs a value\n", command, a.c_str());
        return std::nullopt;
      }
      parsed.values[a[1]] = arguments[++i];
    } else if (a.size() == 2 && flags.find(a[1]) != std::string::npos) {
      parsed.flags.insert(a[1]);
    } else {
      std::fprintf(stderr, "setuvane-pack %s: unknown option %s (see --help)\n", command, a.c_str());
      return std::nullopt;
    }
  }
  return parsed;
}

}  // namespace

std::optional<ParsedOptions> ParseCommand(const Arguments& arguments, const CommandSyntax& syntax, int& exitCode) {
  exitCode = kUsageOrArchiveError;
  auto options = ParseOptions(arguments, syntax.withValue, syntax.flags, syntax.name);
  if (!options) return std::nullopt;
  if (options->help) {
    std::fputs(syntax.help, stdout);
    exitCode = kSuccess;
    return std::nullopt;
  }
  const size_t count = options->positional.size();
  if (count < syntax.minPositional || count > syntax.maxPositional) {
    std::fputs(syntax.help, stderr);
    return std::nullopt;
  }
  return options;
}

}  // namespace setuvane::pack
