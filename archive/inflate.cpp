// Inflate: the Deflate format of RFC 1951 (stored, fixed-code and dynamic-code
// blocks), decoding one ZIP entry of method 8 from a ByteSource to a ByteSink.
//
// Design: a 64-bit bit buffer refilled eight bytes at a time; one table lookup per
// code of up to 12 bits, sub-tables for longer ones, and two literals per lookup
// where both codes fit (see inflate_tables.h); a fast loop that runs without bounds
// checks while 16 input bytes and a full match's room of output are at hand, and
// near either end a careful path that decodes one symbol at a time. Output is
// decoded into a buffer that keeps the last 32 KiB in front of the new bytes, so
// back-references are plain pointer arithmetic.
//
// Limits and decisions: memory is bounded (one 32 KiB input buffer, one output buffer
// of 32 KiB history plus 128 KiB of new output, the tables), whatever the entry size.
// The history starts as 32 KiB of zeros, so a distance reaching before the entry's
// first byte copies zeros. Input that ends inside a block, or between blocks, ends
// decoding quietly with what was fully decoded (the caller's CRC check judges the
// result); a failure is reported only when the bits that prove it were really read.
// Bytes after the final block are left unread.
#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

#include "archive/decoders.h"
#include "archive/exceptions.h"
#include "archive/inflate_tables.h"

namespace setuvane::archive {
namespace {

using namespace inflate;

constexpr size_t kHistorySize = 32768;  // farthest distance Deflate can reach
constexpr size_t kMaxMatch = 258;
constexpr size_t kOutChunk = 128 * 1024;
// Room the fast loop needs per pass: up to 8 literals or one match, plus the bytes
// that block-wise copying may write past the match.
constexpr size_t kCopyOvershoot = 32;
constexpr size_t kOutMargin = kMaxMatch + kCopyOvershoot;
constexpr size_t kInBufferSize = 32 * 1024;
// Input the fast loop needs per pass: two refills of up to 7 bytes, the second
// reading 8 bytes.
constexpr ptrdiff_t kFastInput = 16;
// Bits each fast pass may use after one refill (56 bits buffered).
static_assert(15 + 5 + 15 + 13 <= 56, "a length code, a distance code and their extra bits");
static_assert(kMaxCodeLength + 3 * kLitlenTableBits <= 56, "four literal lookups");

static_assert(std::endian::native == std::endian::little, "the bit buffer loads little-endian words");

// Raised inside the decoder when the input ends before the current operation could
// be read whole; Inflate turns it into a normal end.
struct InputEnded {};

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline uint64_t LowBits(uint64_t value, unsigned count) { return value & ((uint64_t{1} << count) - 1); }

// The value of a length or distance entry: its base plus the extra bits that follow
// the code in `bits` (the bit buffer before the entry's bits were consumed).
inline uint32_t EntryValue(uint32_t entry, uint64_t bits) {
  return (entry >> 16) + static_cast<uint32_t>(LowBits(bits, entry & 0xFF) >> ((entry >> 8) & 0xF));
}

struct FixedTables {
  uint32_t litlen[size_t{1} << kLitlenTableBits];
  uint32_t dist[size_t{1} << kDistTableBits];
  FixedTables() {
    uint8_t lengths[kNumLitlenSymbols];
    std::fill(lengths, lengths + 144, 8);
    std::fill(lengths + 144, lengths + 256, 9);
    std::fill(lengths + 256, lengths + 280, 7);
    std::fill(lengths + 280, lengths + 288, 8);
    BuildTable(litlen, std::size(litlen), kLitlenTableBits, lengths, kSymbols.litlen, kNumLitlenSymbols);
    PairLiterals(litlen, kLitlenTableBits);
    // 32 codes of 5 bits: complete, with 30 and 31 decoding as invalid.
    std::fill(lengths, lengths + kNumDistSymbols, 5);
    BuildTable(dist, std::size(dist), kDistTableBits, lengths, kSymbols.dist, kNumDistSymbols);
  }
};

const FixedTables& Fixed() {
  static const FixedTables tables;
  return tables;
}

class Inflater {
 public:
  Inflater(ByteSource& source, ByteSink& sink)
      : source_(source),
        sink_(sink),
        in_(new uint8_t[kInBufferSize]),
        out_(new uint8_t[kHistorySize + kOutChunk]),
        inNext_(in_.get()),
        inEnd_(in_.get()),
        outNext_(out_.get() + kHistorySize),
        outEnd_(out_.get() + kHistorySize + kOutChunk),
        flushFrom_(outNext_) {
    std::memset(out_.get(), 0, kHistorySize);  // what distances before the first byte copy
  }

  void Run() {
    try {
      bool final;
      do {
        const uint32_t header = TakeBits(3);
        CheckInput();
        final = header & 1;
        switch (header >> 1) {
          case 0: StoredBlock(); break;
          case 1: HuffmanBlock(Fixed().litlen, Fixed().dist); break;
          case 2: DynamicBlock(); break;
          default: Fail();  // block type 3 is reserved
        }
      } while (!final);
    } catch (const InputEnded&) {
      // The input ended early: hand over what was decoded; the CRC check decides.
    }
    Flush();
  }

 private:
  // Bit buffer. On every path: the low `bitsLeft_` bits of `bitBuffer_` are the next
  // stream bits, bitsLeft_ <= 63, and the bits above them are zero or copies of the
  // bytes at inNext_ (so OR-ing those bytes in again changes nothing). Past the end
  // of the input the buffer is padded with zero bytes, counted in `padBytes_`.
  [[nodiscard]] bool Overran() const { return padBytes_ * 8 > bitsLeft_; }

  // Ends decoding quietly if the last operation used bits beyond the input.
  void CheckInput() const {
    if (Overran()) throw InputEnded{};
  }

  // The one way a block fails. A "failure" that rests on padding is an input that
  // ended early instead.
  [[noreturn]] void Fail() const {
    CheckInput();
    throw EAbZipInflateBlock();
  }

  // Moves the unread bytes to the front of the input buffer and tops it up.
  void FillInput() {
    if (sourceDone_) return;
    size_t have = static_cast<size_t>(inEnd_ - inNext_);
    std::memmove(in_.get(), inNext_, have);
    while (have < kInBufferSize) {
      const size_t got = source_.Read(in_.get() + have, kInBufferSize - have);
      if (got == 0) {
        sourceDone_ = true;
        break;
      }
      have += std::min(got, kInBufferSize - have);
    }
    inNext_ = in_.get();
    inEnd_ = in_.get() + have;
  }

  // On return at least 56 bits are buffered (zero padding past the input's end).
  void Refill() {
    if (inEnd_ - inNext_ < 8) FillInput();
    if (inEnd_ - inNext_ >= 8) {
      bitBuffer_ |= Load64(inNext_) << bitsLeft_;
      inNext_ += (63 - bitsLeft_) >> 3;
      bitsLeft_ |= 56;  // = bitsLeft_ + 8 * the bytes just taken
      return;
    }
    while (bitsLeft_ < 56) {
      if (inNext_ < inEnd_) {
        bitBuffer_ |= uint64_t{*inNext_++} << bitsLeft_;
      } else {
        ++padBytes_;
      }
      bitsLeft_ += 8;
    }
  }

  uint32_t TakeBits(unsigned count) {
    if (bitsLeft_ < count) Refill();
    const auto value = static_cast<uint32_t>(LowBits(bitBuffer_, count));
    bitBuffer_ >>= count;
    bitsLeft_ -= count;
    return value;
  }

  // Hands the new output to the sink and keeps the last 32 KiB as history.
  void Flush() {
    if (outNext_ > flushFrom_) sink_.Write(flushFrom_, static_cast<size_t>(outNext_ - flushFrom_));
    std::memmove(out_.get(), outNext_ - kHistorySize, kHistorySize);
    outNext_ = out_.get() + kHistorySize;
    flushFrom_ = outNext_;
  }

  void EnsureOutputRoom() {
    if (static_cast<size_t>(outEnd_ - outNext_) < kOutMargin) Flush();
  }

  void StoredBlock() {
    // LEN and NLEN start at the next byte boundary; the padding bytes are whole.
    const unsigned partial = bitsLeft_ & 7;
    bitBuffer_ >>= partial;
    bitsLeft_ -= partial;
    const uint32_t length = TakeBits(16);
    const uint32_t notLength = TakeBits(16);
    CheckInput();
    if (length != (~notLength & 0xFFFF)) Fail();

    size_t left = length;
    // First the whole bytes still in the bit buffer...
    while (left > 0 && bitsLeft_ >= 8) {
      if (padBytes_ * 8 >= bitsLeft_) throw InputEnded{};
      EnsureOutputRoom();
      *outNext_++ = static_cast<uint8_t>(bitBuffer_);
      bitBuffer_ >>= 8;
      bitsLeft_ -= 8;
      --left;
    }
    if (left == 0) return;
    // ...then straight from the input.
    bitBuffer_ = 0;
    while (left > 0) {
      if (inNext_ == inEnd_) {
        FillInput();
        if (inNext_ == inEnd_) throw InputEnded{};
      }
      EnsureOutputRoom();
      const size_t n = std::min({left, static_cast<size_t>(inEnd_ - inNext_),
                                 static_cast<size_t>(outEnd_ - outNext_)});
      std::memcpy(outNext_, inNext_, n);
      outNext_ += n;
      inNext_ += n;
      left -= n;
    }
  }

  void DynamicBlock() {
    const int litlenCount = static_cast<int>(TakeBits(5)) + 257;
    const int distCount = static_cast<int>(TakeBits(5)) + 1;
    const int codeLengthCount = static_cast<int>(TakeBits(4)) + 4;
    CheckInput();
    if (litlenCount > 286 || distCount > 30) Fail();

    static constexpr uint8_t kOrder[kNumCodeLengthSymbols] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                              11, 4,  12, 3, 13, 2, 14, 1, 15};
    uint8_t codeLengthLengths[kNumCodeLengthSymbols] = {};
    for (int i = 0; i < codeLengthCount; ++i) codeLengthLengths[kOrder[i]] = static_cast<uint8_t>(TakeBits(3));
    CheckInput();
    if (BuildTable(codeLengthTable_, kCodeLengthTableSize, kCodeLengthTableBits, codeLengthLengths,
                   kSymbols.codeLength, kNumCodeLengthSymbols) != TableResult::kComplete) {
      Fail();
    }

    uint8_t lengths[286 + 30];
    const int total = litlenCount + distCount;
    int filled = 0;
    uint8_t previous = 0;
    while (filled < total) {
      // A code-length code (7 bits at most) and its repeat bits (7 at most).
      if (bitsLeft_ < 14) Refill();
      const uint32_t entry = codeLengthTable_[LowBits(bitBuffer_, kCodeLengthTableBits)];
      bitBuffer_ >>= entry & 0xFF;
      bitsLeft_ -= entry & 0xFF;
      const uint32_t symbol = entry >> 16;
      if (symbol < 16) {
        CheckInput();
        previous = static_cast<uint8_t>(symbol);
        lengths[filled++] = previous;
        continue;
      }
      int repeat;
      if (symbol == 16) {
        repeat = 3 + static_cast<int>(TakeBits(2));
      } else {
        repeat = symbol == 17 ? 3 + static_cast<int>(TakeBits(3)) : 11 + static_cast<int>(TakeBits(7));
        previous = 0;
      }
      CheckInput();
      if (repeat > total - filled) Fail();
      std::fill(lengths + filled, lengths + filled + repeat, previous);
      filled += repeat;
    }

    if (BuildTable(litlenTable_, kLitlenTableSize, kLitlenTableBits, lengths, kSymbols.litlen,
                   litlenCount) == TableResult::kBad ||
        BuildTable(distTable_, kDistTableSize, kDistTableBits, lengths + litlenCount, kSymbols.dist,
                   distCount) == TableResult::kBad) {
      Fail();
    }
    PairLiterals(litlenTable_, kLitlenTableBits);
    HuffmanBlock(litlenTable_, distTable_);
  }

  void HuffmanBlock(const uint32_t* litlen, const uint32_t* dist) {
    for (;;) {
      EnsureOutputRoom();
      if (inEnd_ - inNext_ < kFastInput) FillInput();
      const bool done = inEnd_ - inNext_ >= kFastInput ? FastLoop(litlen, dist) : CarefulStep(litlen, dist);
      if (done) return;
    }
  }

  // Decodes until the end of the block (returns true) or until fewer than
  // kFastInput input bytes or less than kOutMargin of output room are left (returns
  // false). On entry: inEnd_ - inNext_ >= kFastInput, so no padding in the bit buffer.
  bool FastLoop(const uint32_t* litlen, const uint32_t* dist) {
    uint64_t bits = bitBuffer_;
    unsigned bitsLeft = bitsLeft_;
    const uint8_t* in = inNext_;
    const uint8_t* const inLimit = inEnd_ - kFastInput;
    uint8_t* out = outNext_;
    uint8_t* const outLimit = outEnd_ - kOutMargin;

    // Tops the buffer up to 56..63 bits; reads 8 bytes, takes up to 7.
    auto refill = [&] {
      bits |= Load64(in) << bitsLeft;
      in += (63 - bitsLeft) >> 3;
      bitsLeft |= 56;
    };
    auto consume = [&](unsigned count) {
      bits >>= count;
      bitsLeft -= count;
    };
    auto lookup = [&] { return litlen[LowBits(bits, kLitlenTableBits)]; };

    // At the top of each pass `entry` is the first-level entry of the next code: it
    // was looked up with at least kLitlenTableBits bits buffered (a refill only adds
    // bits above them), so the lookup overlaps the previous pass's work. Each pass
    // refills at most twice, hence kFastInput.
    refill();
    uint32_t entry = lookup();
    while (in <= inLimit && out <= outLimit) {
      refill();  // 56 bits: a length code with extra bits (20) and a distance with extra bits (28)
      if (entry & kSubtable) {
        consume(kLitlenTableBits);
        entry = litlen[(entry >> 16) + LowBits(bits, (entry >> 8) & 0xF)];
      }
      if (entry & kLiteral) {
        // Up to four lookups of literals, one or two per lookup: the first code may
        // take 15 bits, the others 12 each. Both bytes are stored either way.
        auto put = [&] {
          consume(entry & 0xFF);
          const auto pair = static_cast<uint16_t>(entry >> 16);
          std::memcpy(out, &pair, 2);
          out += (entry & kPairedLiteral) ? 2 : 1;
        };
        put();
        entry = lookup();
        if (!(entry & kLiteral)) continue;
        put();
        entry = lookup();
        if (!(entry & kLiteral)) continue;
        put();
        entry = lookup();
        if (!(entry & kLiteral)) continue;
        put();
        refill();
        entry = lookup();
        continue;
      }
      if (entry & kExceptional) {
        if (entry & kEndOfBlock) {
          consume(entry & 0xFF);
          bitBuffer_ = bits;
          bitsLeft_ = bitsLeft;
          inNext_ = in;
          outNext_ = out;
          return true;
        }
        Fail();
      }
      uint64_t saved = bits;
      consume(entry & 0xFF);
      const uint32_t length = EntryValue(entry, saved);

      entry = dist[LowBits(bits, kDistTableBits)];
      if (entry & kSubtable) {
        consume(kDistTableBits);
        entry = dist[(entry >> 16) + LowBits(bits, (entry >> 8) & 0xF)];
      }
      if (entry & kInvalid) Fail();
      saved = bits;
      consume(entry & 0xFF);
      const uint32_t distance = EntryValue(entry, saved);

      refill();
      entry = lookup();
      Copy(out, distance, length);
      out += length;
    }

    bitBuffer_ = bits;
    bitsLeft_ = bitsLeft;
    inNext_ = in;
    outNext_ = out;
    return false;
  }

  // Copies `length` bytes from `distance` bytes back; overlapping copies repeat the
  // pattern. May write up to kCopyOvershoot bytes past the match. The history in
  // front of the output keeps `out - distance` inside the buffer.
  static void Copy(uint8_t* out, uint32_t distance, uint32_t length) {
    const uint8_t* from = out - distance;
    uint8_t* const end = out + length;
    if (distance >= 16) {
      // Blocks never overlap their source; two cover most matches unconditionally.
      std::memcpy(out, from, 16);
      std::memcpy(out + 16, from + 16, 16);
      out += 32;
      from += 32;
      while (out < end) {
        std::memcpy(out, from, 16);
        out += 16;
        from += 16;
      }
    } else if (distance >= 8) {
      do {
        std::memcpy(out, from, 8);
        out += 8;
        from += 8;
      } while (out < end);
    } else if (distance == 1) {
      std::memset(out, *from, length);
    } else {
      do {
        *out++ = *from++;
      } while (out < end);
    }
  }

  // Decodes one symbol (and its match) with bounds checks, near the end of the input.
  // Returns true at the end of the block. On entry: room for one match.
  bool CarefulStep(const uint32_t* litlen, const uint32_t* dist) {
    Refill();
    uint32_t entry = litlen[LowBits(bitBuffer_, kLitlenTableBits)];
    if (entry & kSubtable) {
      TakeBits(kLitlenTableBits);
      entry = litlen[(entry >> 16) + LowBits(bitBuffer_, (entry >> 8) & 0xF)];
    }
    if (entry & kLiteral) {
      // Only the first of paired literals: the second may lie past the input's end.
      TakeBits((entry >> 8) & 0xF);
      CheckInput();
      *outNext_++ = static_cast<uint8_t>(entry >> 16);
      return false;
    }
    uint64_t saved = bitBuffer_;
    TakeBits(entry & 0xFF);
    if (entry & kExceptional) {
      if (!(entry & kEndOfBlock)) Fail();
      CheckInput();
      return true;
    }
    const uint32_t length = EntryValue(entry, saved);

    entry = dist[LowBits(bitBuffer_, kDistTableBits)];
    if (entry & kSubtable) {
      TakeBits(kDistTableBits);
      entry = dist[(entry >> 16) + LowBits(bitBuffer_, (entry >> 8) & 0xF)];
    }
    saved = bitBuffer_;
    TakeBits(entry & 0xFF);
    if (entry & kInvalid) Fail();
    CheckInput();
    const uint32_t distance = EntryValue(entry, saved);
    Copy(outNext_, distance, length);
    outNext_ += length;
    return false;
  }

  ByteSource& source_;
  ByteSink& sink_;
  std::unique_ptr<uint8_t[]> in_;
  std::unique_ptr<uint8_t[]> out_;  // 32 KiB history (zeros at first), then new output
  const uint8_t* inNext_;
  const uint8_t* inEnd_;
  bool sourceDone_ = false;
  uint64_t bitBuffer_ = 0;
  unsigned bitsLeft_ = 0;
  unsigned padBytes_ = 0;
  uint8_t* outNext_;
  uint8_t* const outEnd_;
  uint8_t* flushFrom_;
  uint32_t litlenTable_[kLitlenTableSize];
  uint32_t distTable_[kDistTableSize];
  uint32_t codeLengthTable_[kCodeLengthTableSize];
};

}  // namespace

void Inflate(ByteSource& input, ByteSink& output) {
  auto inflater = std::make_unique<Inflater>(input, output);
  inflater->Run();
}

}  // namespace setuvane::archive
