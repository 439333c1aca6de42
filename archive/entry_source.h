// The compressed bytes of one entry as a ByteSource: read from the archive file at
// increasing offsets, never past the entry's compressed size nor the end of the
// file, and decrypted on the way when the entry is encrypted.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/byte_stream.h"
#include "archive/file_system.h"
#include "archive/zdecoder.h"

namespace setuvane::archive {

class EntrySource final : public ByteSource {
 public:
  // Reads below this size go through an internal buffer, larger ones straight into
  // the caller's buffer; either way each byte is read and decrypted once, in order.
  static constexpr size_t kBufferSize = 64 * 1024;

  // `decoder` may be null (a plain entry); it must have passed CheckPassword.
  // `buffer` is storage that outlives the source and is reused between entries.
  EntrySource(ReadableFile& file, int64_t offset, uint32_t length, TAbZDecoder* decoder,
              std::vector<uint8_t>& buffer);

  size_t Read(uint8_t* buffer, size_t capacity) override;

 private:
  size_t Fetch(uint8_t* buffer, size_t capacity);

  ReadableFile& file_;
  int64_t offset_;      // next byte of the file to fetch
  uint32_t remaining_;  // entry bytes not fetched yet; 0 also once the file ended
  TAbZDecoder* decoder_;
  std::vector<uint8_t>& buffer_;
  size_t bufferIndex_ = 0, bufferCount_ = 0;
};

}  // namespace setuvane::archive
