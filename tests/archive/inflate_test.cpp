// Inflate on hand-built streams: every way a block can fail, the edge cases of
// copies and of the history, and input that ends early. Streams are written field by
// field; Huffman codes most significant bit first, everything else least first.
#include <gtest/gtest.h>

#include <string>

#include "archive/decoders.h"
#include "archive/exceptions.h"
#include "tests/archive/memory_streams.h"

namespace setuvane::archive {
namespace {

using testing::MemorySource;
using testing::MemorySink;
using Bytes = std::vector<uint8_t>;

class Bits {
 public:
  Bits& Put(uint64_t value, int count) {  // header fields and extra bits; count <= 64
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
    return *this;
  }
  Bits& Code(uint32_t code, int length) {  // Huffman codes
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
    return *this;
  }
  Bits& Align() {
    while (used_ % 8 != 0) Bit(0);
    return *this;
  }
  Bits& Raw(const Bytes& bytes) {
    Align();
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    used_ += 8 * bytes.size();
    return *this;
  }
  // A dynamic header whose code-length code gives each length 0..15 a 4-bit code
  // equal to the length.
  Bits& Dynamic(bool final, const Bytes& litlen, const Bytes& dist) {
    Put(final, 1).Put(2, 2).Put(uint32_t(litlen.size() - 257), 5).Put(uint32_t(dist.size() - 1), 5);
    Put(15, 4).Put(0, 3 * 3);                      // 19 code-length lengths: 16, 17, 18 unused,
    for (int i = 3; i < 19; ++i) Put(4, 3);        // 0..15 four bits each
    for (uint8_t length : litlen) Code(length, 4);
    for (uint8_t length : dist) Code(length, 4);
    return *this;
  }
  Bytes Done() const { return bytes_; }

 private:
  void Bit(uint32_t bit) {
    if (used_ % 8 == 0) bytes_.push_back(0);
    bytes_.back() |= static_cast<uint8_t>(bit << (used_ % 8));
    ++used_;
  }
  Bytes bytes_;
  size_t used_ = 0;
};

Bytes Lengths(size_t count, std::initializer_list<std::pair<int, uint8_t>> set) {
  Bytes lengths(count, 0);
  for (auto [symbol, length] : set) lengths[symbol] = length;
  return lengths;
}

Bytes Decode(const Bytes& stream, size_t chunk = SIZE_MAX) {
  MemorySource source(stream, chunk);
  MemorySink sink;
  Inflate(source, sink);
  return sink.bytes;
}

Bits Fixed(bool final = true) { return Bits().Put(final, 1).Put(1, 2); }

struct BadStream {
  const char* what;
  Bytes stream;
};

// Fields in order: BFINAL (1 bit), BTYPE (2); stored: LEN (16), NLEN (16) from the
// next byte; dynamic: HLIT (5), HDIST (5), HCLEN (4), 3-bit code-length lengths, then
// the code lengths. A trailing Put(0, n) keeps the failing field clear of the end,
// which would otherwise end decoding quietly.
TEST(Inflate, EveryBadBlockFails) {
  const Bytes eobAndLength = Lengths(258, {{256, 1}, {257, 1}});  // EOB = 0, length 3 = 1
  const BadStream cases[] = {
      {"block type 3", Bits().Put(1, 1).Put(3, 2).Done()},
      {"stored LEN 5 with NLEN 5", Bits().Put(1, 1).Put(0, 2).Align().Put(5, 16).Put(5, 16).Done()},
      {"287 literal/length codes",
       Bits().Put(1, 1).Put(2, 2).Put(30, 5).Put(0, 5).Put(0, 4).Put(0, 32).Done()},
      {"31 distance codes", Bits().Put(1, 1).Put(2, 2).Put(0, 5).Put(30, 5).Put(0, 4).Put(0, 32).Done()},
      // Four code-length lengths, in the order 16, 17, 18, 0.
      {"code-length code incomplete (one 1-bit code)",
       Bits().Put(1, 1).Put(2, 2).Put(0, 5).Put(0, 5).Put(0, 4).Put(1, 3).Put(0, 9).Put(0, 32).Done()},
      {"code-length code over-subscribed",
       Bits().Put(1, 1).Put(2, 2).Put(0, 5).Put(0, 5).Put(0, 4).Put(1, 3).Put(1, 3).Put(1, 3).Put(0, 3)
           .Put(0, 32).Done()},
      {"code-length code all zero", Bits().Put(1, 1).Put(2, 2).Put(0, 14).Put(0, 12).Put(0, 32).Done()},
      // 258 lengths declared; symbol 0 = code 0, symbol 18 = code 1; 138 + 138 zeros.
      {"code-length run past the count",
       Bits().Put(1, 1).Put(2, 2).Put(0, 5).Put(0, 5).Put(0, 4).Put(0, 3).Put(0, 3).Put(1, 3).Put(1, 3)
           .Code(1, 1).Put(127, 7).Code(1, 1).Put(127, 7).Put(0, 32).Done()},
      {"literal/length code over-subscribed",
       Bits().Dynamic(true, Lengths(258, {{0, 1}, {256, 1}, {257, 1}}), {1, 1}).Put(0, 32).Done()},
      {"literal/length code incomplete",
       Bits().Dynamic(true, Lengths(257, {{256, 1}}), {1, 1}).Put(0, 32).Done()},
      {"distance code of a single 1-bit code", Bits().Dynamic(true, eobAndLength, {1}).Put(0, 32).Done()},
      {"distance code over-subscribed", Bits().Dynamic(true, eobAndLength, {1, 1, 1}).Put(0, 32).Done()},
      {"fixed length code 286", Fixed().Code(0xC6, 8).Put(0, 16).Done()},
      {"fixed length code 287", Fixed().Code(0xC7, 8).Put(0, 16).Done()},
      {"fixed distance code 30", Fixed().Code(1, 7).Code(30, 5).Put(0, 16).Done()},
      {"fixed distance code 31", Fixed().Code(1, 7).Code(31, 5).Put(0, 16).Done()},
      {"length with an empty distance table",
       Bits().Dynamic(true, eobAndLength, {0}).Code(1, 1).Put(0, 16).Done()},
      {"symbol from an empty literal/length table",
       Bits().Dynamic(true, Bytes(257, 0), {0}).Put(0, 16).Done()},
      {"bad block after a good one",
       Bits().Put(0, 1).Put(0, 2).Align().Put(1, 16).Put(0xFFFE, 16).Raw({'x'}).Put(1, 1).Put(3, 2).Done()},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(Decode(c.stream), EAbZipInflateBlock) << c.what;
    EXPECT_THROW(Decode(c.stream, 1), EAbZipInflateBlock) << c.what << ", input byte by byte";
  }
}

TEST(Inflate, EdgeCasesOfBlocks) {
  // A final stored block of LEN 0.
  EXPECT_EQ(Decode(Bits().Put(1, 1).Put(0, 2).Align().Put(0, 16).Put(0xFFFF, 16).Done()), Bytes());
  // 'a', then length 258 at distance 1 repeats it.
  EXPECT_EQ(Decode(Fixed().Code(0x30 + 'a', 8).Code(0xC5, 8).Code(0, 5).Code(0, 7).Done()), Bytes(259, 'a'));
  // 286 literal/length codes (9-bit literals, 5- and 6-bit EOB and lengths) are accepted.
  Bytes litlen(286, 9);
  std::fill(litlen.begin() + 256, litlen.begin() + 258, 5);
  std::fill(litlen.begin() + 258, litlen.end(), 6);
  EXPECT_EQ(Decode(Bits().Dynamic(true, litlen, {1, 1}).Code(256 + 'A', 9).Code(0, 5).Done()), Bytes{'A'});
  // The deepest codes (14 and 15 bits) go through sub-tables: literal 1 ('10'),
  // length 3 at distance 257 (from before the start), literal 14, end of block.
  const Bytes comb = Lengths(258, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9},
                                   {9, 10}, {10, 11}, {11, 12}, {12, 13}, {257, 14}, {14, 15}, {256, 15}});
  const Bytes distComb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 15};
  EXPECT_EQ(Decode(Bits().Dynamic(true, comb, distComb).Code(2, 2).Code(0x3FFE, 14).Code(0x7FFF, 15).Put(0, 6)
                       .Code(0x7FFE, 15).Code(0x7FFF, 15).Done()),
            (Bytes{1, 0, 0, 0, 14}));
  // Code-length symbol 16 first repeats the starting previous length, 0. The
  // code-length code: 16 = '0', 1 = '10', 18 = '11' (HCLEN 18, 1 is the last used).
  Bits first16;
  first16.Put(1, 1).Put(2, 2).Put(1, 5).Put(1, 5).Put(14, 4);       // 258 + 2 codes
  first16.Put(1, 3).Put(0, 3).Put(2, 3).Put(0, 3 * 14).Put(2, 3);   // 16, 17, 18, 0, ..., 1
  first16.Code(0, 1).Put(0, 2).Code(3, 2).Put(127, 7).Code(3, 2).Put(104, 7);  // 3 + 138 + 115 zeros
  first16.Code(2, 2).Code(2, 2).Code(2, 2).Code(2, 2);              // 256, 257, two distances: 1 bit
  EXPECT_EQ(Decode(first16.Code(0, 1).Done()), Bytes());
  // A stored block, then a fixed block that copies from it.
  EXPECT_EQ(Decode(Bits().Put(0, 1).Put(0, 2).Align().Put(2, 16).Put(0xFFFD, 16).Raw({'a', 'b'})
                    .Put(1, 1).Put(1, 2).Code(1, 7).Code(1, 5).Code(0, 7).Done()),
            (Bytes{'a', 'b', 'a', 'b', 'a'}));
}

TEST(Inflate, DistanceBeforeTheStartCopiesZeros) {
  // 'x', then length 3 at distance 32768 (code 29, extra 8191), then length 3 at 2.
  const Bytes stream =
      Fixed().Code(0x30 + 'x', 8).Code(1, 7).Code(29, 5).Put(8191, 13).Code(1, 7).Code(1, 5).Code(0, 7).Done();
  EXPECT_EQ(Decode(stream), (Bytes{'x', 0, 0, 0, 0, 0, 0}));
}

// 40000 stored bytes, then 1000 matches of 258 at distance 32768: the copies cross
// the history's wrap and the output buffer's flushes.
Bytes LongStream(Bytes& expected) {
  expected.resize(40000);
  uint32_t x = 12345;
  for (auto& b : expected) b = static_cast<uint8_t>((x = x * 1103515245 + 12345) >> 16);
  Bits bits;
  bits.Put(0, 1).Put(0, 2).Align().Put(40000, 16).Put(~40000u & 0xFFFF, 16).Raw(expected).Put(1, 1).Put(1, 2);
  for (int i = 0; i < 1000; ++i) bits.Code(0xC5, 8).Code(29, 5).Put(8191, 13);
  bits.Code(0, 7);
  for (size_t i = 0; i < 258000; ++i) expected.push_back(expected[expected.size() - 32768]);
  return bits.Done();
}

TEST(Inflate, LongCopiesAcrossHistoryAndFlushes) {
  Bytes expected;
  const Bytes stream = LongStream(expected);
  for (size_t chunk : {SIZE_MAX, size_t{4096}, size_t{1}}) EXPECT_EQ(Decode(stream, chunk), expected) << chunk;
}

TEST(Inflate, InputEndingEarlyGivesAPrefixQuietly) {
  Bytes expected;
  const Bytes stream = LongStream(expected);
  for (size_t cut = 0; cut < stream.size(); cut += cut < 64 || stream.size() - cut < 64 ? 1 : 997) {
    const Bytes prefix(stream.begin(), stream.begin() + cut);
    Bytes out;
    ASSERT_NO_THROW(out = Decode(prefix)) << cut;
    ASSERT_LT(out.size(), expected.size()) << cut;
    ASSERT_TRUE(std::equal(out.begin(), out.end(), expected.begin())) << cut;
  }
  // Non-final block, then nothing: ends without looping.
  EXPECT_EQ(Decode(Bits().Put(0, 1).Put(0, 2).Align().Put(1, 16).Put(0xFFFE, 16).Raw({'z'}).Done()), Bytes{'z'});
}

TEST(Inflate, SinkExceptionsPassThrough) {
  struct StoppingSink : ByteSink {
    void Write(const uint8_t*, size_t) override { throw std::length_error("too long"); }
  } sink;
  Bytes expected;
  const Bytes stream = LongStream(expected);
  MemorySource source(stream, SIZE_MAX);
  EXPECT_THROW(Inflate(source, sink), std::length_error);
}

}  // namespace
}  // namespace setuvane::archive
