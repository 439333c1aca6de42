// The lines of the registry script registry.inf, read without touching the
// registry: what kind a line is, the root of a key line, the type, name and value
// of a value line, and the integer rules of "int" values. The script itself
// (system/registry_script.h) and the package tool's checks share these.
//
//   +hlm\Software\Firma\Aplikacja    key line: root code at positions 2-4, the key
//                                    path after the line's first "\"
//   -str:Wersja=1.0                  value line: type at positions 2-4, position 5
//                                    not read, the name from position 6 up to the
//                                    first "=", the value after it
//
// Anything else is ignored. Lines are not trimmed: blanks count everywhere.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "system/registry.h"

namespace setuvane {

enum class RegistryLineKind { kKey, kValue, kIgnored };

// By the first character: "+" key, "-" value, anything else (or nothing) ignored.
RegistryLineKind RegistryLineKindOf(std::string_view line);

struct RegistryKeyLine {
  Registry::Key root = kHkeyCurrentUser;
  // The text after the line's first "\", kept whole; the whole line when it has no
  // "\". A path that still begins with "\" is opened beneath the root.
  std::string path;
};

// The root of a root code, compared in lower case: "hcr", "hlm", "hus", "hcc";
// any other code is HKEY_CURRENT_USER.
Registry::Key RegistryRootOf(std::string_view code);

RegistryKeyLine ParseRegistryKeyLine(std::string_view line);

enum class RegistryValueType { kBoolean, kInteger, kString, kOther };

struct RegistryValueLine {
  std::string typeCode;  // positions 2-4 in lower case ("bln", "int", "str", ...)
  RegistryValueType type = RegistryValueType::kOther;
  std::string name;   // empty: the key's default value
  std::string value;  // as written, before the folder macros are expanded
};

RegistryValueLine ParseRegistryValueLine(std::string_view line);

// The value of an "int" line: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$" or "0x"; nothing may follow, and the
// number must lie in the signed 32-bit range. nullopt for anything else.
std::optional<std::int32_t> ParseRegistryInteger(std::string_view text);

// The conversion failure's own text: "'abc' is not a valid integer value".
std::string NotAnIntegerText(std::string_view value);

}  // namespace setuvane
