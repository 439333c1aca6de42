// Failures that do not belong to the archive message table: the file and stream
// errors of the run-time layer beneath it. The unzipper tells them apart when it
// reports a failed entry (error class 1 to 4), so each kind is a class of its own.
#pragma once

#include <stdexcept>
#include <string>

namespace setuvane::archive {

// An operating-system call failed; carries the system's error code.
class EInOutError : public std::runtime_error {
 public:
  EInOutError(int osCode, const std::string& text) : std::runtime_error(text), code_(osCode) {}
  int ErrorCode() const { return code_; }

 private:
  int code_;
};

// Reading or writing an open stream failed (a read past the end, a full disk).
class EFilerError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

class EReadError : public EFilerError {
 public:
  EReadError() : EFilerError("Stream read error") {}
};

class EWriteError : public EFilerError {
 public:
  EWriteError() : EFilerError("Stream write error") {}
};

// A file could not be created, or could not be opened.
class EFCreateError : public std::runtime_error {
 public:
  explicit EFCreateError(const std::string& path) : std::runtime_error("Cannot create file " + path) {}
};

class EFOpenError : public std::runtime_error {
 public:
  explicit EFOpenError(const std::string& path) : std::runtime_error("Cannot open file " + path) {}
};

// An index outside the entry list.
class EListError : public std::out_of_range {
 public:
  explicit EListError(long index)
      : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}
};

}  // namespace setuvane::archive
