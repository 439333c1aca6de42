// In-memory ends for the decoder tests: a source that hands out its bytes in chunks
// of a chosen size (to move refills around) and a sink that keeps everything written
// to it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "archive/byte_stream.h"

namespace setuvane::archive::testing {

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::vector<uint8_t> bytes, size_t chunk = 4096) : bytes_(std::move(bytes)), chunk_(chunk) {}
  size_t Read(uint8_t* buffer, size_t capacity) override {
    size_t count = std::min({capacity, chunk_, bytes_.size() - pos_});
    if (count != 0) std::memcpy(buffer, bytes_.data() + pos_, count);
    pos_ += count;
    return count;
  }
  // Bytes handed out so far.
  size_t Position() const { return pos_; }

 private:
  std::vector<uint8_t> bytes_;
  size_t chunk_;
  size_t pos_ = 0;
};

class MemorySink : public ByteSink {
 public:
  void Write(const uint8_t* data, size_t length) override { bytes.insert(bytes.end(), data, data + length); }
  std::vector<uint8_t> bytes;
};

}  // namespace setuvane::archive::testing
