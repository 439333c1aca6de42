// Expand: ZIP methods 2 to 5 ("reduced" with compression factor 1 to 4), as in the
// PKWARE APPNOTE. The entry starts with 256 follower sets (the bytes likely to follow
// each byte, sent from set 255 down to set 0); each byte of the probabilistically
// compressed stream is then either a follower index or a plain byte. The resulting
// byte stream is run-length/LZ coded with the escape byte 144 (DLE): DLE 0 is a
// literal 144, DLE V [L] D is a copy of up to 385 bytes from up to 4,096 bytes back.
// Decoding stops at the uncompressed size (a copy is cut there) or when the input
// ends. A follower set announcing more than 32 bytes fails the entry with
// EAbZipBadCRC; other malformed data ends in wrong output, which the CRC check reports.
#include <array>
#include <bit>
#include <cstdint>
#include <memory>

#include "archive/decoders.h"
#include "archive/exceptions.h"
#include "archive/history_window.h"
#include "archive/lsb_bit_reader.h"

namespace setuvane::archive {
namespace {

constexpr int kMaxFollowers = 32;
constexpr uint8_t kDle = 144;
constexpr size_t kReach = 4096;  // (15 << 8) + 255 + 1 at factor 4
constexpr int kMinCopy = 3;

struct FollowerSet {
  uint8_t count = 0;
  uint8_t indexBits = 0;  // B(count): bits needed to address `count` followers
  std::array<uint8_t, kMaxFollowers> bytes{};
};

// B(n) of the APPNOTE: 1 bit for one or two followers, then the bits of n - 1.
uint8_t IndexBits(unsigned count) {
  return count <= 2 ? 1 : static_cast<uint8_t>(std::bit_width(count - 1));
}

class Expander {
 public:
  Expander(ByteSource& input, ByteSink& output, int factor, uint32_t size)
      : bits_(input), out_(output, kReach), factor_(factor), size_(size) {}

  void Run() {
    if (!ReadFollowerSets()) return;
    uint8_t last = 0;
    enum class State { kLiteral, kAfterDle, kLengthByte, kDistanceByte } state = State::kLiteral;
    const unsigned mask = 0xFFu >> factor_;
    unsigned v = 0, length = 0;
    uint8_t byte;
    while (out_.Produced() < size_ && NextByte(last, byte)) {
      last = byte;
      switch (state) {
        case State::kLiteral:
          if (byte == kDle) {
            state = State::kAfterDle;
          } else {
            out_.Put(byte);
          }
          break;
        case State::kAfterDle:
          if (byte == 0) {
            out_.Put(kDle);
            state = State::kLiteral;
          } else {
            v = byte;
            length = v & mask;
            state = length == mask ? State::kLengthByte : State::kDistanceByte;
          }
          break;
        case State::kLengthByte:
          length += byte;
          state = State::kDistanceByte;
          break;
        case State::kDistanceByte: {
          size_t distance = ((v >> (8 - factor_)) << 8) + byte + 1;
          CopyWithinSize(distance, length + kMinCopy);
          state = State::kLiteral;
          break;
        }
      }
    }
    out_.Flush();
  }

 private:
  bool ReadFollowerSets() {
    for (int set = 255; set >= 0; --set) {
      uint32_t count;
      if (!bits_.Read(6, count)) return false;
      if (count > kMaxFollowers) throw EAbZipBadCRC();
      FollowerSet& followers = sets_[set];
      followers.count = static_cast<uint8_t>(count);
      followers.indexBits = IndexBits(count);
      for (uint32_t i = 0; i < count; ++i) {
        uint32_t value;
        if (!bits_.Read(8, value)) return false;
        followers.bytes[i] = static_cast<uint8_t>(value);
      }
    }
    return true;
  }

  // The next byte of the reduced stream; false once the input is used up. An index
  // past the set's count reads an unused (zero) slot, never past the set.
  bool NextByte(uint8_t last, uint8_t& byte) {
    const FollowerSet& followers = sets_[last];
    uint32_t value;
    if (followers.count != 0) {
      if (!bits_.Read(1, value)) return false;
      if (value == 0) {
        if (!bits_.Read(followers.indexBits, value)) return false;
        byte = followers.bytes[value];
        return true;
      }
    }
    if (!bits_.Read(8, value)) return false;
    byte = static_cast<uint8_t>(value);
    return true;
  }

  // Copies, but never past the entry's uncompressed size.
  void CopyWithinSize(size_t distance, size_t length) {
    uint64_t room = size_ - out_.Produced();
    if (length > room) length = static_cast<size_t>(room);
    out_.Copy(distance, length);
  }

  LsbBitReader bits_;
  HistoryWindow out_;
  const int factor_;
  const uint32_t size_;
  std::array<FollowerSet, 256> sets_{};
};

static_assert((((0xFFu >> 4) << 8) + 255 + 1) == kReach, "factor 4 reaches 4,096 bytes back");

}  // namespace

void Expand(ByteSource& input, ByteSink& output, int factor, uint32_t uncompressedSize) {
  if (factor < 1 || factor > 4) throw EAbZipInvalidFactor();
  auto decoder = std::make_unique<Expander>(input, output, factor, uncompressedSize);
  decoder->Run();
}

}  // namespace setuvane::archive
