#include "tools/build/setup_text.h"

#include <algorithm>
#include <cstdio>

#include "system/cp1250.h"
#include "tools/build/script_names.h"

namespace setuvane::pack {
namespace {

// Byte values that Windows-1250 leaves unassigned.
bool Unassigned(unsigned char byte) {
  return byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
}

// Converts line by line, so that a failure names its line.
std::string FromUtf8(std::string_view text, const std::string& file, Problems& problems) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    const std::string_view piece = text.substr(start, end - start);
    if (const auto converted = Utf8ToCp1250(piece)) {
      out += *converted;
    } else {
      problems.Error(file, EditorLine(text, start),
                     "the line is not UTF-8 or has characters without a Windows-1250 form");
      out += Cp1250(piece);
    }
    start = end;
  }
  return out;
}

void CheckBytes(std::string_view text, bool converted, const std::string& file, Problems& problems) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (Unassigned(static_cast<unsigned char>(text[i]))) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(text[i]));
      problems.Error(file, EditorLine(text, i), std::string("the byte ") + hex + " is no Windows-1250 character");
      break;
    }
  }
  const bool high = std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (!converted && high && Utf8ToCp1250(text)) {
    problems.Warning(file, 0, "the text looks like UTF-8, but the installer reads Windows-1250 (build with --from-utf8)");
  }
}

void CheckLineEnds(std::string_view text, std::string_view storedName, const std::string& file, Problems& problems) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' || (i > 0 && text[i - 1] == '\r')) continue;
    const std::string message =
        "a line ends in a line feed alone; the installer ends lines only at a carriage return (CR LF)";
    if (IsScriptName(storedName)) {
      problems.Error(file, EditorLine(text, i), message + ", so it reads this line and the next as one");
    } else {
      problems.Warning(file, EditorLine(text, i), message);
    }
    return;
  }
}

void CheckEndOfFile(std::string_view text, const std::string& file, Problems& problems) {
  const size_t end = text.find('\x1A');
  if (end == std::string_view::npos) return;
  const std::string_view after = text.substr(end + 1);
  if (std::any_of(after.begin(), after.end(), [](char c) { return static_cast<unsigned char>(c) > ' '; })) {
    problems.Warning(file, EditorLine(text, end), "the character 26 (Ctrl-Z) ends the file for the installer; "
                                                  "the text after it is never read");
  }
}

}  // namespace

bool IsSetupText(std::string_view storedName) {
  return storedName.size() >= 4 && SameName(storedName.substr(storedName.size() - 4), ".inf");
}

int EditorLine(std::string_view text, size_t offset) {
  int line = 1;
  for (size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
  }
  return line;
}

std::string PrepareSetupText(const std::string& bytes, std::string_view storedName, bool fromUtf8,
                             const std::string& file, Problems& problems) {
  const std::string text = fromUtf8 ? FromUtf8(bytes, file, problems) : bytes;
  CheckBytes(text, fromUtf8, file, problems);
  CheckLineEnds(text, storedName, file, problems);
  CheckEndOfFile(text, file, problems);
  return text;
}

}  // namespace setuvane::pack
