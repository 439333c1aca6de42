#include "system/setup_text.h"

#include "system/cp1250.h"
#include "system/machine.h"

namespace setuvane {
namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr char kEndOfFile = 26;

}  // namespace

std::vector<std::string> SplitSetupLines(std::string_view content) {
  const size_t end = content.find(kEndOfFile);
  if (end != std::string_view::npos) content = content.substr(0, end);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    const size_t cr = content.find(kCarriageReturn, start);
    if (cr == std::string_view::npos) {
      lines.emplace_back(content.substr(start));
      break;
    }
    lines.emplace_back(content.substr(start, cr - start));
    start = cr + 1;
    if (start < content.size() && content[start] == kLineFeed) ++start;
  }
  return lines;
}

std::string FileErrorText(std::uint32_t osError) {
  switch (osError) {
    case 2:  // ERROR_FILE_NOT_FOUND
      return "File not found";
    case 3:  // ERROR_PATH_NOT_FOUND
      return "Path not found";
    case 5:   // ERROR_ACCESS_DENIED
    case 32:  // ERROR_SHARING_VIOLATION
      return "File access denied";
    case 123:  // ERROR_INVALID_NAME
      return "Invalid filename";
    default:
      return "I/O error " + std::to_string(osError);
  }
}

std::vector<std::string> ReadSetupTextFile(const std::string& path) {
  std::uint32_t osError = 0;
  const std::optional<std::string> content = CurrentMachine().ReadWholeFile(path, osError);
  if (!content) throw ESetupFileError(osError, FileErrorText(osError));
  std::vector<std::string> lines = SplitSetupLines(*content);
  for (std::string& line : lines) line = Cp1250ToUtf8(line);
  return lines;
}

}  // namespace setuvane
