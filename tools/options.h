// Parsing of a subcommand's arguments: single-letter options, some taking a value
// ("-d DIR"), "--help", and the remaining positional arguments.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "tools/command.h"

namespace setuvane::pack {

struct ParsedOptions {
  std::map<char, std::string> values;  // options with a value
  std::set<char> flags;                // options without one
  Arguments positional;
  bool help = false;
};

// `withValue` and `flags` list the letters allowed; returns nothing after printing
// an error for an unknown option or a missing value.
std::optional<ParsedOptions> ParseOptions(const Arguments& arguments, const std::string& withValue,
                                          const std::string& flags, const char* command);

}  // namespace setuvane::pack
