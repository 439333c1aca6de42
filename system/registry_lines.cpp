#include "system/registry_lines.h"

#include <limits>

#include "system/text_helpers.h"

namespace setuvane {
namespace {

// Positions 2 to 4 of a line (fewer when the line is shorter), in lower case.
std::string CodeOf(std::string_view line) { return AsciiLower(line.substr(std::min<size_t>(1, line.size()), 3)); }

// A value line's name starts at its sixth character.
constexpr size_t kNameStart = 5;

int DigitValue(char c, int base) {
  int value = 99;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

}  // namespace

RegistryLineKind RegistryLineKindOf(std::string_view line) {
  if (line.empty()) return RegistryLineKind::kIgnored;
  if (line[0] == '+') return RegistryLineKind::kKey;
  if (line[0] == '-') return RegistryLineKind::kValue;
  return RegistryLineKind::kIgnored;
}

Registry::Key RegistryRootOf(std::string_view code) {
  const std::string lower = AsciiLower(code);
  if (lower == "hcr") return kHkeyClassesRoot;
  if (lower == "hlm") return kHkeyLocalMachine;
  if (lower == "hus") return kHkeyUsers;
  if (lower == "hcc") return kHkeyCurrentConfig;
  return kHkeyCurrentUser;
}

RegistryKeyLine ParseRegistryKeyLine(std::string_view line) {
  const size_t backslash = line.find('\\');
  return {RegistryRootOf(CodeOf(line)),
          std::string(backslash == std::string_view::npos ? line : line.substr(backslash + 1))};
}

RegistryValueLine ParseRegistryValueLine(std::string_view line) {
  RegistryValueLine value;
  value.typeCode = CodeOf(line);
  if (value.typeCode == "bln") value.type = RegistryValueType::kBoolean;
  else if (value.typeCode == "int") value.type = RegistryValueType::kInteger;
  else if (value.typeCode == "str") value.type = RegistryValueType::kString;
  const std::string before = NameBeforeSeparator(line, '=');
  if (before.size() > kNameStart) value.name = before.substr(kNameStart);
  value.value = ValueAfterSeparator(line, '=');
  return value;
}

std::optional<std::int32_t> ParseRegistryInteger(std::string_view text) {
  size_t at = text.find_first_not_of(' ');
  if (at == std::string_view::npos) return std::nullopt;
  bool negative = false;
  if (text[at] == '+' || text[at] == '-') negative = text[at++] == '-';
  int base = 10;
  if (text.substr(at, 1) == "$") {
    base = 16;
    at += 1;
  } else if (text.substr(at, 2) == "0x" || text.substr(at, 2) == "0X") {
    base = 16;
    at += 2;
  }
  if (at == text.size()) return std::nullopt;  // a sign or prefix without digits
  // The magnitude may reach 2^31 for a negative number; anything larger fails.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; at < text.size(); ++at) {
    const int digit = DigitValue(text[at], base);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::string NotAnIntegerText(std::string_view value) {
  return FormatText("'%s' is not a valid integer value", {value});
}

}  // namespace setuvane
