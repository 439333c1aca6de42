// The log of /LOG: a plain UTF-8 text file, one time-stamped line for each thing
// the installation did or met. Texts come in as Windows-1250.
#pragma once

#include <fstream>
#include <string>

namespace setuvane {

class InstallLog {
 public:
  // Opens (replaces) the file; IsOpen tells whether that worked.
  explicit InstallLog(const std::string& path);
  bool IsOpen() const { return out_.is_open(); }
  // One line; line breaks inside the text are written as " | ".
  void Write(const std::string& text);

 private:
  std::ofstream out_;
};

// Routes the installation's account: the journal to `log` (when there is one)
// and, for an unattended run, every question and report to an answer nobody
// gives, written to the log as well.
void RouteAccount(InstallLog* log, bool unattended);

}  // namespace setuvane
