// Text routines with which the settings and scripts are parsed. Texts are the
// program's UTF-8; the separators, codes and macros they look for are ASCII.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace setuvane {

// Empty stays empty; a text already ending in "\" is unchanged; else "\" is appended.
std::string AddBackslash(std::string_view text);

// The text without its first n characters (n <= 0: the whole text).
std::string DropLeft(std::string_view text, int n);

// The last n characters; n <= 0 or n >= length gives the whole text.
std::string RightPart(std::string_view text, int n);

// The text after the first separator or, when there is none, after the first ":".
// Empty when neither occurs or when it is the last character.
std::string ValueAfterSeparator(std::string_view text, char separator);

// The characters before the first separator; empty when it does not occur.
std::string NameBeforeSeparator(std::string_view text, char separator);

// The file-name part of a path: what follows its last "\", "/" or ":".
std::string FileNamePart(std::string_view path);

// The text without the blanks and control characters (codes 32 and below) at its ends.
std::string TrimControl(std::string_view text);

// True for "TRUE" and "PRAWDA" in any letter case (the user's locale decides what
// a letter case is). The text is not trimmed.
bool TextToBoolean(std::string_view text);

// The text with the letters A to Z turned into lower case; other bytes unchanged
// (the codes and macros of the setup files are compared this way).
std::string AsciiLower(std::string_view text);

// The number that `text` writes in `base` (up to 16) with its digits alone, no sign
// or blank; nullopt for anything else and for one beyond 64 bits. (The runtime's
// own conversions would bring in the C locale's character tests.)
std::optional<std::uint64_t> UnsignedNumber(std::string_view text, int base);

// `format` with each "%s" replaced by the next of `args`, in order; a "%s" without
// an argument left stays as it is. (The installer's texts carry their placeholders
// this way.)
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace setuvane
