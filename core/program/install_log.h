// The log of /LOG: a plain UTF-8 text file, one time-stamped line for each thing
// the installation did or met, written as the program keeps its texts.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace setuvane {

class InstallLog {
 public:
  // Opens (replaces) the file; IsOpen tells whether that worked.
  explicit InstallLog(const std::string& path);
  bool IsOpen() const { return out_ != nullptr; }
  // One line; line breaks inside the text are written as " | ".
  void Write(const std::string& text);

 private:
  // A C stream rather than std::ofstream: the C++ file streams bring the whole
  // locale machinery of the C++ runtime into the installer, and with it run-time
  // functions that older Windows do not have.
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> out_;
};

// `path` of /LOG made absolute against `currentFolder` (ending in "\" or not): a
// run that hands the log on to a program in another folder (the uninstaller's
// temporary copy) hands on the file its caller meant. A path with a drive and a
// root, or a network path, stays as it is; one that starts at a root takes the
// drive of `currentFolder`.
std::string AbsoluteLogPath(const std::string& path, const std::string& currentFolder);

// Routes the installation's account: the journal to `log` (when there is one)
// and, for an unattended run, every question and report to an answer nobody
// gives, written to the log as well.
void RouteAccount(InstallLog* log, bool unattended);

}  // namespace setuvane
