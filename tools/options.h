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

// What a subcommand accepts, and its --help text.
struct CommandSyntax {
  const char* name;
  const char* help;
  std::string withValue;
  std::string flags;
  size_t minPositional;
  size_t maxPositional;
};

// Parses a subcommand's arguments (an unknown option or a missing value is reported
// on standard error) and answers --help (the text on standard output)
// and a wrong number of positional arguments (the text on standard error). Returns
// the options when the command is to run; otherwise nothing, with `exitCode` set.
std::optional<ParsedOptions> ParseCommand(const Arguments& arguments, const CommandSyntax& syntax, int& exitCode);

}  // namespace setuvane::pack
