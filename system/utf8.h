// UTF-8, the form every text takes inside the program (its own texts, the package's
// texts once read, paths), and UTF-16, the form of the W calls of Windows NT.
//
// Windows names are sequences of 16-bit units that need not be well-formed UTF-16:
// a lone surrogate is a valid file name there. So that every name Windows hands back
// survives the trip through the program, a lone surrogate is written as its own
// three-byte sequence (the generalised UTF-8 known as WTF-8) and read back as that
// unit; a surrogate pair is always the four-byte form of its code point.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace setuvane {

// UTF-16 of UTF-8 text; a byte that starts no well-formed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);

// UTF-8 of UTF-16 text, lone surrogates kept as described above.
std::string Utf16ToUtf8(std::u16string_view utf16);

// The code point at text[at] and the position after it; a malformed byte reads as
// U+FFFD and takes one byte. `at` must lie before the end.
char32_t NextCodePoint(std::string_view text, std::size_t& at);

// The number of characters (code points) of UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

// The code point as UTF-8.
std::string Utf8Of(char32_t codePoint);

}  // namespace setuvane
