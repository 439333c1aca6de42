// Hand-built streams for the legacy decoders, field by field: the cases the format
// leaves easy to get wrong, and malformed data that must end cleanly.
#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <utility>

#include "archive/decoders.h"
#include "archive/exceptions.h"
#include "tests/archive/legacy_encoders.h"
#include "tests/archive/memory_streams.h"

namespace setuvane::archive {
namespace {

using testing::LsbBitWriter;
using testing::MemorySink;
using testing::MemorySource;
using Bytes = std::vector<uint8_t>;
using Fields = std::initializer_list<std::pair<uint32_t, int>>;  // (value, bit count)

Bytes Bits(Fields fields, LsbBitWriter out = {}) {
  for (auto [value, count] : fields) out.Put(value, count);
  return out.Finish();
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes RunUnshrink(const Bytes& in) {
  MemorySource source(in);
  MemorySink sink;
  Unshrink(source, sink);
  return sink.bytes;
}

Bytes RunExpand(const Bytes& in, int factor, uint32_t size) {
  MemorySource source(in);
  MemorySink sink;
  Expand(source, sink, factor, size);
  return sink.bytes;
}

Bytes RunExplode(const Bytes& in, bool eightKiB, bool literalTree, uint32_t size) {
  MemorySource source(in);
  MemorySink sink;
  Explode(source, sink, eightKiB, literalTree, size);
  return sink.bytes;
}

// ---- Unshrink ---------------------------------------------------------------

TEST(LegacyUnshrink, DecodesTheControlCodesAndTheCodeBeingDefined) {
  struct Case {
    const char* what;
    Fields codes;
    std::string expected;
  } cases[] = {
      {"a code defined by this very step (KwKwK)", {{'a', 9}, {257, 9}}, "aaa"},
      // 257 = "ab" is a leaf, so the clear frees it; "bc" is then defined as 257 again.
      {"partial clear reuses codes from 257", {{'a', 9}, {'b', 9}, {256, 9}, {2, 9}, {'c', 9}, {257, 9}}, "abcbc"},
      {"256 then 1 widens the codes", {{'a', 9}, {256, 9}, {1, 9}, {'b', 10}, {257, 10}}, "abab"},
      {"an unknown control code is skipped", {{'a', 9}, {256, 9}, {7, 9}, {'b', 9}}, "ab"},
      {"input ending inside a code ends the entry", {{'a', 9}, {'b', 9}, {5, 4}}, "ab"},
      {"no input at all", {}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(RunUnshrink(Bits(c.codes)), Text(c.expected)) << c.what;
}

TEST(LegacyUnshrink, MalformedStreamsFailTheEntry) {
  struct Case {
    const char* what;
    Fields codes;
  } cases[] = {
      {"codes widened past 13 bits",
       {{'a', 9}, {256, 9}, {1, 9}, {256, 10}, {1, 10}, {256, 11}, {1, 11}, {256, 12}, {1, 12}, {256, 13}, {1, 13}}},
      // After the clear frees 257 (the old code), 257 is defined with itself as prefix.
      {"a chain that loops back on itself",
       {{'a', 9}, {'b', 9}, {257, 9}, {256, 9}, {2, 9}, {'c', 9}, {257, 9}}},
      {"free codes that stand for each other", {{300, 9}, {301, 9}}},
  };
  for (const Case& c : cases) EXPECT_THROW(RunUnshrink(Bits(c.codes)), EAbZipBadCRC) << c.what;
}

// ---- Expand -----------------------------------------------------------------

// Follower sets: `sets` lists (set, followers) to fill; every other set is empty.
LsbBitWriter FollowerSets(std::initializer_list<std::pair<int, Bytes>> sets) {
  LsbBitWriter out;
  for (int set = 255; set >= 0; --set) {
    Bytes followers;
    for (const auto& [which, bytes] : sets) {
      if (which == set) followers = bytes;
    }
    out.Put(static_cast<uint32_t>(followers.size()), 6);
    for (uint8_t b : followers) out.Put(b, 8);
  }
  return out;
}

TEST(LegacyExpand, DecodesEscapesCopiesAndFollowers) {
  struct Case {
    const char* what;
    int factor;
    Bytes in;
    Bytes expected;
  } cases[] = {
      {"DLE 0 is a single 144", 4, Bits({{144, 8}, {0, 8}, {'a', 8}}, FollowerSets({})), {144, 'a'}},
      // DLE, V = length 5 - 3 = 2, distance 9 + 1: the first copy reaches before the start.
      {"a copy before the start gives zeros", 4, Bits({{'A', 8}, {144, 8}, {2, 8}, {9, 8}}, FollowerSets({})),
       {'A', 0, 0, 0, 0, 0}},
      // Factor 1: V = high distance bit 1 << 7 | length 0 -> a 3-byte copy from 257 back.
      {"the high distance bits sit above the length", 1,
       Bits({{'x', 8}, {144, 8}, {0x80, 8}, {0, 8}}, FollowerSets({})), {'x', 0, 0, 0}},
      // Length 15 (= the mask of factor 4) takes one more byte: 15 + 5 + 3 = 23 bytes
      // from 2 back, a copy that overlaps itself.
      {"a long copy overlapping itself", 4, Bits({{'a', 8}, {'b', 8}, {144, 8}, {0x0F, 8}, {5, 8}, {1, 8}}, FollowerSets({})),
       Text("ababababababababababababa")},
      // Set 0 holds one follower: the index takes 1 bit, not 0.
      {"a follower set of one uses a one-bit index", 4,
       Bits({{0, 1}, {0, 1}, {'R', 8}}, FollowerSets({{0, {'Q'}}})), Text("QR")},
      {"flag 1 reads a plain byte despite followers", 4, Bits({{1, 1}, {'Z', 8}}, FollowerSets({{0, {'Q'}}})),
       Text("Z")},
      // Three followers take a 2-bit index; index 3 names no follower: an empty slot
      // (0). The padding bits then pick follower 0 of set 0.
      {"an index past the followers reads an empty slot", 4,
       Bits({{0, 1}, {3, 2}}, FollowerSets({{0, {'x', 'y', 'z'}}})), {0, 'x'}},
      {"input ending inside the follower sets", 4, Bits({{3, 6}, {'a', 8}}), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(RunExpand(c.in, c.factor, 100), c.expected) << c.what;
}

TEST(LegacyExpand, StopsAtTheUncompressedSize) {
  Bytes in = Bits({{'a', 8}, {144, 8}, {0x0F, 8}, {200, 8}, {0, 8}, {'z', 8}}, FollowerSets({}));
  EXPECT_EQ(RunExpand(in, 4, 10), Bytes(10, 'a'));
  EXPECT_EQ(RunExpand(in, 4, 0), Bytes{});
}

TEST(LegacyExpand, RejectsMoreThan32FollowersAndBadFactors) {
  EXPECT_THROW(RunExpand(Bits({{33, 6}}), 1, 10), EAbZipBadCRC);
  EXPECT_THROW(RunExpand({}, 0, 10), EAbZipInvalidFactor);
  EXPECT_THROW(RunExpand({}, 5, 10), EAbZipInvalidFactor);
}

// ---- Explode ----------------------------------------------------------------

// A tree giving all `count` values `bits` bits: value v then has the code
// count - 1 - v (the codes count up from the last value), bit-reversed on the wire.
void UniformTree(LsbBitWriter& out, int count, int bits) {
  testing::WriteTreeDescription(out, std::vector<uint8_t>(count, static_cast<uint8_t>(bits)));
}

uint32_t Reversed(uint32_t code, int bits) {
  uint32_t r = 0;
  for (int i = 0; i < bits; ++i) r |= ((code >> i) & 1) << (bits - 1 - i);
  return r;
}

Bytes Imploded(bool literalTree, Fields items) {
  LsbBitWriter out;
  if (literalTree) UniformTree(out, 256, 8);
  UniformTree(out, 64, 6);  // lengths
  UniformTree(out, 64, 6);  // distances
  return Bits(items, std::move(out));
}

TEST(LegacyExplode, DecodesLiteralsAndCopiesOfEachVariant) {
  const uint32_t length0 = Reversed(63, 6), length1 = Reversed(62, 6), length63 = Reversed(0, 6);
  const uint32_t distance0 = Reversed(63, 6), distance63 = Reversed(0, 6);
  struct Case {
    const char* what;
    bool eightKiB, literalTree;
    Bytes in;
    Bytes expected;
  } cases[] = {
      {"without a literal tree: plain literals, copies of at least 2", false, false,
       Imploded(false, {{1, 1}, {'x', 8}, {0, 1}, {0, 6}, {distance0, 6}, {length0, 6}}), Text("xxx")},
      {"with a literal tree: coded literals, copies of at least 3", false, true,
       Imploded(true, {{1, 1}, {Reversed(255 - 'y', 8), 8}, {0, 1}, {0, 6}, {distance0, 6}, {length0, 6}}),
       Text("yyyy")},
      {"length 63 takes 8 more bits", false, false,
       Imploded(false, {{1, 1}, {'x', 8}, {0, 1}, {0, 6}, {distance0, 6}, {length63, 6}, {10, 8}}),
       Bytes(76, 'x')},
      // 8 KiB: 7 low bits; high 63 and low 127 reach 8,192 bytes back, before the start.
      {"the 8 KiB dictionary reaches 8,192 back", true, false,
       Imploded(false, {{1, 1}, {'x', 8}, {0, 1}, {127, 7}, {distance63, 6}, {length1, 6}}), {'x', 0, 0, 0}},
      {"input ending inside an item", false, false, Imploded(false, {{1, 1}, {'x', 8}, {0, 1}, {0, 6}}), Text("x")},
      {"input ending inside the trees", false, true, Bits({{255, 8}, {0xF7, 8}}), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(RunExplode(c.in, c.eightKiB, c.literalTree, 1000), c.expected) << c.what;
}

TEST(LegacyExplode, StopsAtTheUncompressedSize) {
  Bytes in = Imploded(false, {{1, 1}, {'x', 8}, {0, 1}, {0, 6}, {Reversed(63, 6), 6}, {Reversed(0, 6), 6}, {255, 8}});
  EXPECT_EQ(RunExplode(in, false, false, 5), Bytes(5, 'x'));
}

// ---- All three --------------------------------------------------------------

TEST(LegacyDecoders, SinkFailuresPassThrough) {
  struct Refusing : ByteSink {
    void Write(const uint8_t*, size_t) override { throw EAbUserAbort(); }
  } sink;
  MemorySource shrunk(testing::Shrink(Text("abc"))), reduced(testing::Reduce(Text("abc"), 2)),
      imploded(testing::Implode(Text("abc"), true, true));
  EXPECT_THROW(Unshrink(shrunk, sink), EAbUserAbort);
  EXPECT_THROW(Expand(reduced, sink, 2, 3), EAbUserAbort);
  EXPECT_THROW(Explode(imploded, sink, true, true, 3), EAbUserAbort);
}

// Random bytes are malformed streams of every kind; each decoder must end, without
// reading or writing out of bounds (checked under the sanitizers).
TEST(LegacyDecoders, RandomInputEndsCleanly) {
  std::mt19937 random(2026);
  for (int round = 0; round < 300; ++round) {
    Bytes in(random() % 3000);
    for (auto& b : in) b = static_cast<uint8_t>(random());
    const uint32_t size = random() % 100000;
    try {
      RunUnshrink(in);
    } catch (const EAbZipBadCRC&) {
    }
    try {
      RunExpand(in, 1 + round % 4, size);
    } catch (const EAbZipBadCRC&) {
    }
    EXPECT_LE(RunExplode(in, round & 1, round & 2, size).size(), size);
  }
}

}  // namespace
}  // namespace setuvane::archive
