// What the package checks find, each tied to a file and line of the author's
// sources and told apart as an error (the package would not install as meant) or a
// warning (it installs, but likely not as the author meant). Printed as
// "file:line: error: message", the way compilers print, so editors can jump there.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace setuvane::pack {

enum class Severity { kWarning, kError };

struct Problem {
  std::string file;  // as the author named it, UTF-8
  int line;          // from 1; 0 when the problem concerns the whole file
  Severity severity;
  std::string message;  // UTF-8
};

// "file:line: error: message" ("file: ..." for a whole file).
std::string ProblemText(const Problem& problem);

class Problems {
 public:
  void Error(const std::string& file, int line, const std::string& message);
  void Warning(const std::string& file, int line, const std::string& message);

  const std::vector<Problem>& All() const { return all_; }
  int Count(Severity severity) const;
  // Prints every problem in the order found, in the console's text.
  void Print(std::FILE* out) const;

 private:
  std::vector<Problem> all_;
};

}  // namespace setuvane::pack
