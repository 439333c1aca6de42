#include "tools/build/problems.h"

#include <algorithm>

namespace setuvane::pack {

void Problems::Error(const std::string& file, int line, const std::string& message) {
  all_.push_back({file, line, Severity::kError, message});
}

void Problems::Warning(const std::string& file, int line, const std::string& message) {
  all_.push_back({file, line, Severity::kWarning, message});
}

int Problems::Count(Severity severity) const {
  return static_cast<int>(
      std::count_if(all_.begin(), all_.end(), [&](const Problem& p) { return p.severity == severity; }));
}

void Problems::Print(std::FILE* out) const {
  for (const Problem& p : all_) {
    const std::string where = p.line > 0 ? p.file + ":" + std::to_string(p.line) : p.file;
    std::fprintf(out, "%s: %s: %s\n", where.c_str(), p.severity == Severity::kError ? "error" : "warning",
                 p.message.c_str());
  }
}

}  // namespace setuvane::pack
