#include "core/uninstallation/uninstall_files.h"

#include "system/text_helpers.h"

namespace setuvane {
namespace {

UninstallFiles* g_override = nullptr;

}  // namespace

UninstallFiles& CurrentUninstallFiles() { return g_override ? *g_override : DefaultUninstallFiles(); }

ScopedUninstallFiles::ScopedUninstallFiles(UninstallFiles& files) : previous_(g_override) { g_override = &files; }

ScopedUninstallFiles::~ScopedUninstallFiles() { g_override = previous_; }

std::string WininitWithRemoval(std::string_view wininit, std::string_view shortPath) {
  const std::string line = "NUL=" + std::string(shortPath) + "\r\n";
  std::string text(wininit);
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  // The section's heading, found at the start of a line in any letter case.
  size_t heading = std::string::npos;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    const std::string lineText = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (AsciiLower(TrimControl(lineText)) == "[rename]") {
      heading = end == std::string::npos ? text.size() : end + 1;
      break;
    }
    if (end == std::string::npos) break;
    at = end + 1;
  }
  if (heading == std::string::npos) return text + "[rename]\r\n" + line;
  return text.insert(heading, line);
}

}  // namespace setuvane
