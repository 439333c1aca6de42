// Small encoders for the legacy ZIP methods, used only by tests: they make streams
// that the fixtures from other tools do not contain (partial clears at chosen points,
// every reduce factor and implode variant, copies reaching before the start, the
// escape byte in the data), so that round trips through the decoders cover them.
// They aim at valid streams, not at good compression.
#pragma once

#include <cstdint>
#include <vector>

namespace setuvane::archive::testing {

// Collects bits least significant first, as the decoders read them.
class LsbBitWriter {
 public:
  void Put(uint32_t value, int count);
  // Pads the last byte with zero bits and returns everything written.
  std::vector<uint8_t> Finish();

 private:
  std::vector<uint8_t> bytes_;
  uint64_t pending_ = 0;
  int pendingBits_ = 0;
};

struct ShrinkOptions {
  // Ask for a partial clear after every this many codes (0: never); the clear is
  // sent after the next single-byte code, as the freed codes must not include the
  // code just sent.
  int clearEvery = 0;
  // Ask for a partial clear whenever the code table is full.
  bool clearWhenFull = true;
};

// Method 1.
std::vector<uint8_t> Shrink(const std::vector<uint8_t>& data, const ShrinkOptions& options = {});

// Methods 2 to 5 (factor 1 to 4).
std::vector<uint8_t> Reduce(const std::vector<uint8_t>& data, int factor);

// Method 6: 8 KiB dictionary or 4 KiB; with or without the literal tree.
std::vector<uint8_t> Implode(const std::vector<uint8_t>& data, bool eightKiB, bool literalTree);

// The run-length description of a Shannon-Fano tree with these bit lengths.
void WriteTreeDescription(LsbBitWriter& out, const std::vector<uint8_t>& lengths);

}  // namespace setuvane::archive::testing
