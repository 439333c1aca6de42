// The line format of the setup text files (install.inf, license.inf, readme.inf,
// registry.inf, shortcut.inf): 8-bit Windows-1250 text in which a line ends at a
// carriage return, a line feed right after it belongs to that line end, a lone
// line feed stays inside its line, and the character 26 (Ctrl-Z) ends the file,
// also in mid-line. The last line needs no line end. Lines are not trimmed.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace setuvane {

// A setup text file that is missing or cannot be read. The text is the one the
// installer shows as the failure's own ("File not found", "File access denied").
class ESetupFileError : public std::runtime_error {
 public:
  ESetupFileError(std::uint32_t osError, const std::string& text) : std::runtime_error(text), code_(osError) {}
  std::uint32_t ErrorCode() const { return code_; }

 private:
  std::uint32_t code_;
};

// The lines of a setup text file's content, in file order.
std::vector<std::string> SplitSetupLines(std::string_view content);

// Reads the file through the machine and splits it into lines, each converted from
// Windows-1250 to the program's UTF-8 (the one place where setup texts come in).
// Throws ESetupFileError when it cannot be read.
std::vector<std::string> ReadSetupTextFile(const std::string& path);

// The text of a failed file read by the system's error code.
std::string FileErrorText(std::uint32_t osError);

}  // namespace setuvane
