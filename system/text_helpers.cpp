#include "system/text_helpers.h"

#include <algorithm>

#include "system/text_compare.h"

namespace setuvane {

std::string AddBackslash(std::string_view text) {
  std::string result(text);
  if (!result.empty() && result.back() != '\\') result.push_back('\\');
  return result;
}

std::string DropLeft(std::string_view text, int n) {
  if (n <= 0) return std::string(text);
  if (static_cast<size_t>(n) >= text.size()) return {};
  return std::string(text.substr(n));
}

std::string RightPart(std::string_view text, int n) {
  if (n <= 0 || static_cast<size_t>(n) >= text.size()) return std::string(text);
  return std::string(text.substr(text.size() - n));
}

std::string ValueAfterSeparator(std::string_view text, char separator) {
  size_t at = text.find(separator);
  if (at == std::string_view::npos) at = text.find(':');
  if (at == std::string_view::npos) return {};
  return std::string(text.substr(at + 1));
}

std::string NameBeforeSeparator(std::string_view text, char separator) {
  size_t at = text.find(separator);
  if (at == std::string_view::npos) return {};
  return std::string(text.substr(0, at));
}

std::string FileNamePart(std::string_view path) {
  const size_t separator = path.find_last_of("\\/:");
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string TrimControl(std::string_view text) {
  const auto kept = [](char c) { return static_cast<unsigned char>(c) > ' '; };
  const auto first = std::find_if(text.begin(), text.end(), kept);
  const auto last = std::find_if(text.rbegin(), text.rend(), kept).base();
  return first < last ? std::string(first, last) : std::string();
}

bool TextToBoolean(std::string_view text) {
  return SameTextIgnoringCase(text, "TRUE") || SameTextIgnoringCase(text, "PRAWDA");
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::optional<std::uint64_t> UnsignedNumber(std::string_view text, int base) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    const char lower = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const int digit = lower >= '0' && lower <= '9' ? lower - '0' : lower >= 'a' && lower <= 'z' ? lower - 'a' + 10 : 99;
    if (digit >= base) return std::nullopt;
    const std::uint64_t step = static_cast<std::uint64_t>(base);
    if (value > (UINT64_MAX - static_cast<std::uint64_t>(digit)) / step) return std::nullopt;
    value = value * step + static_cast<std::uint64_t>(digit);
  }
  return value;
}

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string result;
  auto arg = args.begin();
  size_t from = 0;
  for (size_t at; arg != args.end() && (at = format.find("%s", from)) != std::string_view::npos; from = at + 2) {
    result.append(format.substr(from, at - from)).append(*arg++);
  }
  return result.append(format.substr(from));
}

}  // namespace setuvane
