// Windows-1250 text: the code page of the package's texts (the setup files, the
// entries' names and destinations, the package password), of a Polish Windows 9x,
// and of the installer's windows there. The program keeps its texts as UTF-8
// (system/utf8.h); these convert at the edges where Windows-1250 comes in or goes out.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace setuvane {

// UTF-8 to Windows-1250. Empty when a character has no Windows-1250 form or the
// input is not valid UTF-8.
std::optional<std::string> Utf8ToCp1250(std::string_view utf8);

// Like Utf8ToCp1250 for texts known to be convertible (the program's own texts);
// a character without a Windows-1250 form becomes '?'.
std::string Cp1250(std::string_view utf8);

// Windows-1250 to UTF-8 and to UTF-16; the five unassigned bytes map to U+FFFD.
std::string Cp1250ToUtf8(std::string_view text);
std::u16string Cp1250ToUtf16(std::string_view text);

// UTF-16 (as from an edit box) back to Windows-1250; unmappable characters become '?'.
std::string Utf16ToCp1250(std::u16string_view text);

// The capital of a Windows-1250 letter: a-z, the small letters of 0x9A-0xBF
// (š ś ť ž ź ł ą ş ľ ż) and 0xE0-0xFE but the sign ÷; other bytes unchanged.
char Cp1250Upper(char c);

// The capital of a letter that Windows-1250 has (A-Z among them), as Cp1250Upper
// gives it; any other character unchanged. The program compares names and typed
// keys without regard to letter case this way.
char32_t UpperCp1250Letter(char32_t c);
// UTF-8 text with each such letter made a capital.
std::string UpperCp1250Letters(std::string_view utf8);

}  // namespace setuvane
