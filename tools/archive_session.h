// What list, test and extract share: opening the archive named on the command line,
// reporting failed entries on standard error, and a progress line on a terminal.
#pragma once

#include <optional>
#include <string>

#include "archive/unzipper.h"
#include "core/package/embedded_package.h"
#include "tools/redraw_throttle.h"

namespace setuvane::pack {

class ArchiveSession {
 public:
  // The archive is read, and entries are written, through `files`.
  explicit ArchiveSession(const char* command, archive::FileSystem& files = archive::NativeFileSystem());
  ~ArchiveSession();

  // Opens the archive (the package inside a single-file installer when the file is
  // one); prints why and returns false when that is impossible.
  bool Open(const std::string& argument);
  archive::TAbUnZipper& Zip() { return zip_; }
  // For a package carried in a single file: whether it is whole, as the installer
  // checks it at start-up (checksum and size); nullopt for a plain archive.
  std::optional<PackageIntegrity> CarriedIntegrity() const { return carriedIntegrity_; }

  // Shows "VERB NN% name" on standard error while entries are processed, when it
  // is a terminal, redrawn at most about ten times a second; Done() clears the line.
  void ShowProgress(const char* verb);
  void Done();

  int Failures() const { return failures_; }
  // Prints a failure of the whole command.
  void Error(const std::string& message) const;

 private:
  void Draw(const archive::TAbArchiveItem& item, int percent);

  const char* command_;
  archive::FileSystem& files_;
  archive::TAbUnZipper zip_;
  int failures_ = 0;
  std::optional<PackageIntegrity> carriedIntegrity_;
  const char* verb_ = nullptr;
  size_t shownLength_ = 0;  // of the progress line on screen; 0 when there is none
  RedrawThrottle throttle_;
};

}  // namespace setuvane::pack
