// Bit reader for the legacy ZIP decoders (shrunk, reduced, imploded): hands out n bits
// at a time, least significant bit first, from a ByteSource read in 4 KiB chunks.
// A read that needs more bits than the entry has left fails: the decoders treat
// that as the end of the entry's data.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "archive/byte_stream.h"

namespace setuvane::archive {

class LsbBitReader {
 public:
  static constexpr int kMaxBits = 32;

  explicit LsbBitReader(ByteSource& source) : source_(source) {}
  LsbBitReader(const LsbBitReader&) = delete;
  LsbBitReader& operator=(const LsbBitReader&) = delete;

  // Makes at least `count` (<= kMaxBits) bits available; false when the input ends
  // first, leaving what there was (Available() < count). Bits above the available
  // ones are always zero, so Peek past the end of the input sees zeros.
  bool Ensure(int count) {
    if (available_ >= count) return true;
    return Refill(count);
  }

  // The next `count` bits without consuming them.
  uint32_t Peek(int count) const { return static_cast<uint32_t>(bits_ & Mask(count)); }

  // Consumes `count` <= Available() bits.
  void Drop(int count) {
    bits_ >>= count;
    available_ -= count;
  }

  // Reads `count` bits (0 < count <= kMaxBits) into `value`; false when the input
  // ends before all of them are there.
  bool Read(int count, uint32_t& value) {
    if (!Ensure(count)) return false;
    value = Peek(count);
    Drop(count);
    return true;
  }

  // Number of bits that can be had without touching the source.
  int Available() const { return available_; }

 private:
  static uint64_t Mask(int count) { return (uint64_t{1} << count) - 1; }

  bool Refill(int count) {
    // A byte is added only while available_ <= 56, so the 64-bit buffer never overflows.
    while (available_ <= 56) {
      if (next_ == end_) {
        if (exhausted_ || !FetchChunk()) break;
      }
      bits_ |= uint64_t{*next_++} << available_;
      available_ += 8;
    }
    return available_ >= count;
  }

  bool FetchChunk() {
    size_t got = source_.Read(chunk_.data(), chunk_.size());
    if (got == 0) {
      exhausted_ = true;
      return false;
    }
    next_ = chunk_.data();
    end_ = next_ + got;
    return true;
  }

  ByteSource& source_;
  std::array<uint8_t, 4096> chunk_;  // left uninitialised: only [next_, end_) is read
  const uint8_t* next_ = nullptr;
  const uint8_t* end_ = nullptr;
  uint64_t bits_ = 0;
  int available_ = 0;
  bool exhausted_ = false;
};

}  // namespace setuvane::archive
