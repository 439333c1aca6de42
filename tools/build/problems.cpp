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

std::string ProblemText(const Problem& p) {
  const std::string where = p.line > 0 ? p.file + ":" + std::to_string(p.line) : p.file;
  return where + (p.severity == Severity::kError ? ": error: " : ": warning: ") + p.message;
}

void Problems::Print(std::FILE* out) const {
  for (const Problem& p : all_) std::fprintf(out, "%s\n", ProblemText(p).c_str());
}

}  // namespace setuvane::pack
