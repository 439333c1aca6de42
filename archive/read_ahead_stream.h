// A positioned reader over an archive file with a small read-ahead buffer, so that
// the many short fields of the headers do not each cost a read from the system.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/file_system.h"

namespace setuvane::archive {

class ReadAheadStream {
 public:
  static constexpr size_t kBufferSize = 4096;

  explicit ReadAheadStream(ReadableFile& file) : file_(file), buffer_(kBufferSize) {}

  int64_t Size() const { return file_.Size(); }
  int64_t Position() const { return position_; }
  void Seek(int64_t position) { position_ = position; }

  // Reads exactly `length` bytes or throws EReadError ("Stream read error").
  void ReadExact(void* buffer, size_t length);
  // Reads up to `length` bytes; fewer only at the end of the file.
  size_t Read(void* buffer, size_t length);

  ReadableFile& File() { return file_; }

 private:
  ReadableFile& file_;
  std::vector<uint8_t> buffer_;
  int64_t bufferStart_ = 0;  // file offset of buffer_[0]
  size_t bufferCount_ = 0;   // valid bytes in buffer_
  int64_t position_ = 0;
};

}  // namespace setuvane::archive
