// Failures of the folder routines that reach the caller as exceptions rather than
// results: an empty folder to create, a shell folder registered as non-text.
#pragma once

#include <stdexcept>
#include <string>

namespace setuvane {

class EFolderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace setuvane
