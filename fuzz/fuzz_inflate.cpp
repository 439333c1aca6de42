// Feeds arbitrary bytes to Inflate in small chunks (so refills fall everywhere). A
// bad block may fail with EAbZipInflateBlock; anything else escaping, a crash or a
// sanitizer report is a finding. Output is bounded as the unzipper bounds it.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "archive/decoders.h"
#include "archive/exceptions.h"

namespace {

constexpr size_t kOutputLimit = 4u << 20;

struct TooLong {};

class Source : public setuvane::archive::ByteSource {
 public:
  Source(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Read(uint8_t* buffer, size_t capacity) override {
    // Chunks of varying size, like the unzipper's reads of up to 4 KiB.
    const size_t n = std::min({capacity, size_ - position_, size_t{1} + position_ % 4093});
    if (n > 0) std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    return n;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

class BoundedSink : public setuvane::archive::ByteSink {
 public:
  void Write(const uint8_t* data, size_t length) override {
    for (size_t i = 0; i < length; ++i) checksum_ = checksum_ * 31 + data[i];  // touch every byte
    total_ += length;
    if (total_ > kOutputLimit) throw TooLong{};
  }

 private:
  size_t total_ = 0;
  uint32_t checksum_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Source source(data, size);
  BoundedSink sink;
  try {
    setuvane::archive::Inflate(source, sink);
  } catch (const setuvane::archive::EAbZipInflateBlock&) {
  } catch (const TooLong&) {
  }
  return 0;
}
