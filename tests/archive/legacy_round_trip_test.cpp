// Round trips through the test encoders and the legacy decoders, on data shaped to
// reach what the fixtures do not: partial clears at chosen points, every reduce factor
// and implode variant, copies before the start of the output, the escape byte 144.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <tuple>

#include "archive/decoders.h"
#include "tests/archive/legacy_encoders.h"
#include "tests/archive/memory_streams.h"

namespace setuvane::archive {
namespace {

using testing::MemorySink;
using testing::ShrinkOptions;
using testing::MemorySource;
using Bytes = std::vector<uint8_t>;

Bytes Words(size_t size, unsigned seed) {
  static const char* kWords[] = {"legacy ", "archive ", "shrink ", "reduce ", "implode ", "the ", "of ",
                                 "window ", "follower ", "tree ", "\r\n", "Setuvane ", "zero "};
  std::mt19937 random(seed);
  Bytes out;
  while (out.size() < size) {
    for (const char* c = kWords[random() % std::size(kWords)]; *c && out.size() < size; ++c) out.push_back(*c);
  }
  return out;
}

Bytes Noise(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  Bytes out(size);
  for (auto& b : out) b = static_cast<uint8_t>(random());
  return out;
}

// Leading zeros (copies reaching before the start), escape bytes, long runs (copies
// overlapping themselves), text and noise, and a repeat from far back.
Bytes Mixed(size_t size) {
  Bytes out(40, 0);
  for (int i = 0; i < 300; ++i) out.push_back(i % 3 == 0 ? 144 : static_cast<uint8_t>(i));
  out.insert(out.end(), 500, 0xAA);
  Bytes text = Words(size / 2, 7), noise = Noise(size / 4, 8);
  out.insert(out.end(), text.begin(), text.end());
  out.insert(out.end(), noise.begin(), noise.end());
  out.insert(out.end(), text.begin() + text.size() / 3, text.begin() + text.size() / 3 + 2000);
  return out;
}

Bytes Decode(const Bytes& compressed, size_t chunk, const std::function<void(ByteSource&, ByteSink&)>& decode) {
  MemorySource source(compressed, chunk);
  MemorySink sink;
  decode(source, sink);
  return sink.bytes;
}

class LegacyRoundTrip : public ::testing::TestWithParam<std::tuple<int, size_t>> {
 protected:
  Bytes Data() const {
    switch (std::get<0>(GetParam())) {
      case 0: return {};
      case 1: return {'x'};
      case 2: return Words(30000, 1);
      case 3: return Noise(5000, 2);
      default: return Mixed(60000);
    }
  }
  size_t Chunk() const { return std::get<1>(GetParam()); }
};

TEST_P(LegacyRoundTrip, Shrink) {
  Bytes data = Data();
  for (ShrinkOptions options : {ShrinkOptions{}, ShrinkOptions{300, true}, ShrinkOptions{0, false}}) {
    Bytes out = Decode(testing::Shrink(data, options), Chunk(), [](ByteSource& in, ByteSink& out) { Unshrink(in, out); });
    EXPECT_EQ(out, data) << "clear every " << options.clearEvery;
  }
}

TEST_P(LegacyRoundTrip, ReduceEveryFactor) {
  Bytes data = Data();
  for (int factor = 1; factor <= 4; ++factor) {
    Bytes out = Decode(testing::Reduce(data, factor), Chunk(), [&](ByteSource& in, ByteSink& out) {
      Expand(in, out, factor, static_cast<uint32_t>(data.size()));
    });
    EXPECT_EQ(out, data) << "factor " << factor;
  }
}

TEST_P(LegacyRoundTrip, ImplodeEveryVariant) {
  Bytes data = Data();
  for (bool eightKiB : {false, true}) {
    for (bool literalTree : {false, true}) {
      Bytes out = Decode(testing::Implode(data, eightKiB, literalTree), Chunk(), [&](ByteSource& in, ByteSink& out) {
        Explode(in, out, eightKiB, literalTree, static_cast<uint32_t>(data.size()));
      });
      EXPECT_EQ(out, data) << (eightKiB ? "8K" : "4K") << (literalTree ? "/3" : "/2");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Data, LegacyRoundTrip,
                         ::testing::Combine(::testing::Values(0, 1, 2, 3, 4), ::testing::Values(size_t{1}, size_t{4096})));

// A table that fills up is cleared partially again and again; codes freed from 257
// on are defined anew and used.
TEST(LegacyRoundTripLarge, ShrinkFillsAndClearsTheTableRepeatedly) {
  Bytes data = Mixed(400000);
  Bytes noise = Noise(100000, 9);
  data.insert(data.end(), noise.begin(), noise.end());
  for (ShrinkOptions options : {ShrinkOptions{}, ShrinkOptions{5000, true}}) {
    Bytes out = Decode(testing::Shrink(data, options), 4096, [](ByteSource& in, ByteSink& out) { Unshrink(in, out); });
    EXPECT_EQ(out, data);
  }
}

}  // namespace
}  // namespace setuvane::archive
