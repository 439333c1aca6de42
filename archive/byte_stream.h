// The two ends every entry decoder works between: a source of the entry's compressed
// bytes (already decrypted) and a sink for the decoded bytes. The unzipper supplies
// both; the decoders know nothing of files, passwords, CRCs or progress.
#pragma once

#include <cstddef>
#include <cstdint>

namespace setuvane::archive {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to `capacity` bytes of the entry's data into `buffer` and returns how
  // many; 0 once the entry's data is used up (never reads past the entry).
  virtual size_t Read(uint8_t* buffer, size_t capacity) = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends decoded bytes. May throw to stop the entry (output beyond the declared
  // size, an abort through a progress event, a failed write).
  virtual void Write(const uint8_t* data, size_t length) = 0;
};

}  // namespace setuvane::archive
