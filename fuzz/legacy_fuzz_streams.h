// The two ends of a decoder in the legacy fuzz targets: the fuzz input as the entry's
// compressed bytes, and sinks that count what they get: one stops the process when a
// decoder writes past the uncompressed size it was given, the other fails the entry
// past the declared size, as extraction does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "archive/byte_stream.h"
#include "archive/exceptions.h"

namespace setuvane::archive::fuzzing {

class InputSource : public ByteSource {
 public:
  InputSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Read(uint8_t* buffer, size_t capacity) override {
    size_t n = capacity < size_ ? capacity : size_;
    if (n != 0) std::memcpy(buffer, data_, n);
    data_ += n;
    size_ -= n;
    return n;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

class BoundedSink : public ByteSink {
 public:
  explicit BoundedSink(uint64_t limit) : room_(limit) {}
  void Write(const uint8_t*, size_t length) override {
    if (length > room_) std::abort();
    room_ -= length;
  }

 private:
  uint64_t room_;
};

// A sink that stops a decoder which knows no size of its own as the extraction's
// output sink does: writing past the declared size fails the entry with EAbZipBadCRC.
class DeclaredSizeSink : public ByteSink {
 public:
  explicit DeclaredSizeSink(uint64_t size) : room_(size) {}
  void Write(const uint8_t*, size_t length) override {
    if (length > room_) throw EAbZipBadCRC();
    room_ -= length;
  }

 private:
  uint64_t room_;
};

// Bytes 1 to 3 of a fuzz input as an uncompressed size of up to 1 MiB.
inline uint32_t SizeField(const uint8_t* data) {
  return (data[1] | data[2] << 8 | data[3] << 16) & 0xFFFFF;
}

}  // namespace setuvane::archive::fuzzing
