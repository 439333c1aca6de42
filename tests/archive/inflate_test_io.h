// Source and sink doubles for the decoder tests: a source that hands out its bytes in
// chunks of a chosen size (to move refills around) and a sink that collects output.
#pragma once

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "archive/byte_stream.h"

namespace setuvane::archive::testing {

class ChunkedSource : public ByteSource {
 public:
  explicit ChunkedSource(const std::vector<uint8_t>& data, size_t chunk = SIZE_MAX)
      : data_(data), chunk_(chunk) {}
  size_t Read(uint8_t* buffer, size_t capacity) override {
    const size_t n = std::min({capacity, chunk_, data_.size() - position_});
    if (n > 0) std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
  }

 private:
  const std::vector<uint8_t>& data_;
  size_t chunk_;
  size_t position_ = 0;
};

class CollectingSink : public ByteSink {
 public:
  void Write(const uint8_t* data, size_t length) override { bytes.insert(bytes.end(), data, data + length); }
  std::vector<uint8_t> bytes;
};

}  // namespace setuvane::archive::testing
