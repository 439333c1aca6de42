// Output buffer with a back-reference window for the legacy ZIP decoders. Decoded
// bytes collect in one linear buffer that is handed to the sink in large chunks;
// the last `reach` bytes are kept in front of the pending ones, so a back-reference
// of up to `reach` bytes is a plain index into the buffer and never needs to read
// back what was already written out. Before the first byte of the entry the window
// holds zeros: a reference reaching before the start of the output yields 0 bytes.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "archive/byte_stream.h"

namespace setuvane::archive {

class HistoryWindow {
 public:
  // Largest single Append or Copy.
  static constexpr size_t kMaxRun = 16384;

  // `reach` is the largest distance a back-reference may have (0: none).
  HistoryWindow(ByteSink& sink, size_t reach)
      : sink_(sink), reach_(reach), size_(reach + kPending + kMaxRun), buffer_(new uint8_t[size_]), pos_(reach),
        flushed_(reach) {
    // Only the bytes before the entry need a value; the rest is written before it is
    // read, so small entries touch little memory.
    std::memset(buffer_.get(), 0, reach_);
  }
  HistoryWindow(const HistoryWindow&) = delete;
  HistoryWindow& operator=(const HistoryWindow&) = delete;

  uint64_t Produced() const { return written_ + (pos_ - flushed_); }

  void Put(uint8_t byte) {
    if (pos_ == size_) Slide();
    buffer_[pos_++] = byte;
  }

  void Append(const uint8_t* data, size_t length) {
    assert(length <= kMaxRun);
    MakeRoom(length);
    std::memcpy(&buffer_[pos_], data, length);
    pos_ += length;
  }

  // Appends `length` bytes, each the byte `distance` (1..reach) before the current
  // end, so an overlapping copy repeats the last `distance` bytes.
  void Copy(size_t distance, size_t length) {
    assert(distance >= 1 && distance <= reach_ && length <= kMaxRun);
    MakeRoom(length);
    uint8_t* out = &buffer_[pos_];
    const uint8_t* from = out - distance;
    if (distance >= length) {
      std::memcpy(out, from, length);
    } else {
      for (size_t i = 0; i < length; ++i) out[i] = from[i];
    }
    pos_ += length;
  }

  // Hands every pending byte to the sink. Call once the entry is decoded; the sink's
  // exceptions pass through.
  void Flush() {
    if (pos_ == flushed_) return;
    size_t count = pos_ - flushed_;
    sink_.Write(&buffer_[flushed_], count);
    written_ += count;
    flushed_ = pos_;
  }

 private:
  static constexpr size_t kPending = 32768;

  void MakeRoom(size_t length) {
    if (size_ - pos_ < length) Slide();
  }

  // Writes out the pending bytes and moves the last `reach_` bytes to the front.
  // On return pos_ == flushed_ == reach_ and kPending + kMaxRun bytes are free.
  void Slide() {
    Flush();
    std::memmove(buffer_.get(), &buffer_[pos_ - reach_], reach_);
    pos_ = flushed_ = reach_;
  }

  ByteSink& sink_;
  const size_t reach_;
  const size_t size_;
  std::unique_ptr<uint8_t[]> buffer_;  // [0, reach_) starts as zeros: the bytes before the entry
  size_t pos_;                   // end of the output in the buffer
  size_t flushed_;               // end of what the sink has already taken
  uint64_t written_ = 0;
};

}  // namespace setuvane::archive
