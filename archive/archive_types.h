// Small types shared by the archive objects and the unzip component.
#pragma once

#include <cstdint>

namespace setuvane::archive {

enum class TAbArchiveStatus : uint8_t { asInvalid, asIdle, asBusy };

// Extract options, combined as bits: eoCreateDirs makes missing folders of a target
// path; eoRestorePath keeps an entry's stored folders below the base directory.
enum TAbExtractOption : unsigned { eoCreateDirs = 1u << 0, eoRestorePath = 1u << 1 };
using TAbExtractOptions = unsigned;

// What is being done to an entry when an item event fires; extraction is 2.
enum class TAbProcessType : uint8_t { ptAdd, ptDelete, ptExtract, ptFreshen, ptMove, ptReplace, ptTest };

// The kind of failure reported for an entry (with the error code of classify_failure.h).
enum class TAbErrorClass : uint8_t {
  ecArchiveError,     // an exception of the archive subsystem; code = its message number
  ecInOutError,       // a system call failed; code = the system's error code
  ecFilerError,       // reading or writing a stream failed; code 0
  ecFileCreateError,  // a file could not be created; code 0
  ecFileOpenError,    // a file could not be opened; code 0
  ecOtherError,       // anything else; code 0
};

}  // namespace setuvane::archive
