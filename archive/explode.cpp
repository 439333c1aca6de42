// Explode: ZIP method 6 ("imploded"), as in the PKWARE APPNOTE. The entry starts with
// two or three Shannon-Fano trees (literals when general purpose bit 2 is set, then
// lengths and distances); then each item is a flag bit: 1 for a literal (coded with
// the literal tree, or 8 plain bits without one), 0 for a copy whose distance has 6
// (4 KiB dictionary) or 7 (8 KiB, bit 1) plain low bits below a coded high part, and
// whose coded length (63 takes 8 more bits) adds a minimum of 3 with a literal tree,
// 2 without. Decoding stops at the uncompressed size (a copy is cut there) or when the
// input ends; malformed data ends in wrong output, which the CRC check reports.
#include <cstdint>
#include <memory>

#include "archive/decoders.h"
#include "archive/history_window.h"
#include "archive/lsb_bit_reader.h"
#include "archive/shannon_fano_tree.h"

namespace setuvane::archive {
namespace {

constexpr int kLiteralValues = 256;
constexpr int kLengthValues = 64;
constexpr int kDistanceValues = 64;
constexpr uint32_t kLongLength = 63;  // takes 8 more plain bits

class Exploder {
 public:
  Exploder(ByteSource& input, ByteSink& output, bool eightKiB, bool literalTree, uint32_t size)
      : bits_(input),
        lowBits_(eightKiB ? 7 : 6),
        out_(output, size_t{kDistanceValues} << lowBits_),
        hasLiteralTree_(literalTree),
        minLength_(literalTree ? 3 : 2),
        size_(size) {}

  void Run() {
    if (hasLiteralTree_ && !literals_.Read(bits_, kLiteralValues)) return;
    if (!lengths_.Read(bits_, kLengthValues)) return;
    if (!distances_.Read(bits_, kDistanceValues)) return;
    while (out_.Produced() < size_ && DecodeItem()) {
    }
    out_.Flush();
  }

 private:
  // Decodes one literal or copy; false once the input is used up.
  bool DecodeItem() {
    uint32_t isLiteral;
    if (!bits_.Read(1, isLiteral)) return false;
    if (isLiteral) {
      uint32_t byte;
      if (!(hasLiteralTree_ ? literals_.Decode(bits_, byte) : bits_.Read(8, byte))) return false;
      out_.Put(static_cast<uint8_t>(byte));
      return true;
    }
    uint32_t low, high, length;
    if (!bits_.Read(lowBits_, low) || !distances_.Decode(bits_, high) || !lengths_.Decode(bits_, length)) {
      return false;
    }
    if (length == kLongLength) {
      uint32_t extra;
      if (!bits_.Read(8, extra)) return false;
      length += extra;
    }
    length += minLength_;
    size_t distance = ((high << lowBits_) | low) + 1;
    uint64_t room = size_ - out_.Produced();
    out_.Copy(distance, length < room ? length : static_cast<size_t>(room));
    return true;
  }

  LsbBitReader bits_;
  const int lowBits_;
  HistoryWindow out_;
  const bool hasLiteralTree_;
  const uint32_t minLength_;
  const uint32_t size_;
  ShannonFanoTree literals_, lengths_, distances_;
};

static_assert(kLongLength + 255 + 3 <= HistoryWindow::kMaxRun, "the longest copy fits one Copy");

}  // namespace

void Explode(ByteSource& input, ByteSink& output, bool eightKiBDictionary, bool literalTree,
             uint32_t uncompressedSize) {
  auto decoder = std::make_unique<Exploder>(input, output, eightKiBDictionary, literalTree, uncompressedSize);
  decoder->Run();
}

}  // namespace setuvane::archive
