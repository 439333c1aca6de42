// Inflate and CRC-32 against zlib on data the test generates: every level, strategy
// and window size zlib offers, several kinds of data, several input chunk sizes.
#include <zlib.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "archive/crc32.h"
#include "archive/decoders.h"
#include "archive/exceptions.h"
#include "tests/archive/memory_streams.h"

namespace setuvane::archive {
namespace {

using testing::MemorySource;
using testing::MemorySink;

// Raw Deflate (no zlib header) of `data`.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data, int level, int windowBits, int strategy) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -windowBits, 9, strategy), Z_OK);
  std::vector<uint8_t> out(deflateBound(&z, data.size()) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::vector<uint8_t> TextLike(size_t size, uint32_t seed) {
  static const char* const kWords[] = {"the ", "installer ", "folder ", "of ", "Windows ", "setup ",
                                       "entry ", "and ", "a ", "file ", "\r\n", "registry ", "key ",
                                       "value=", "1", "42", "shortcut ", "to ", "program "};
  std::mt19937 rng(seed);
  std::vector<uint8_t> out;
  while (out.size() < size) {
    const std::string w = kWords[rng() % std::size(kWords)];
    out.insert(out.end(), w.begin(), w.end());
  }
  out.resize(size);
  return out;
}

std::vector<uint8_t> Random(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> out(size);
  for (auto& b : out) b = static_cast<uint8_t>(rng());
  return out;
}

// Records of little numbers with runs and repeats, like executables and tables.
std::vector<uint8_t> BinaryLike(size_t size, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> out;
  while (out.size() < size) {
    switch (rng() % 4) {
      case 0: out.insert(out.end(), rng() % 64, 0); break;
      case 1: for (int i = rng() % 16; i > 0; --i) out.push_back(static_cast<uint8_t>(rng() % 8)); break;
      case 2:
        if (out.size() > 100) {
          const size_t from = out.size() - 1 - rng() % std::min<size_t>(out.size() - 1, 40000);
          for (int i = 3 + rng() % 300; i > 0; --i) out.push_back(out[from + i % 50]);
        }
        break;
      default: for (int i = rng() % 8; i > 0; --i) out.push_back(static_cast<uint8_t>(rng())); break;
    }
  }
  out.resize(size);
  return out;
}

std::vector<uint8_t> InflateAll(const std::vector<uint8_t>& stream, size_t chunk = SIZE_MAX) {
  MemorySource source(stream, chunk);
  MemorySink sink;
  Inflate(source, sink);
  return sink.bytes;
}

struct DataKind {
  const char* name;
  std::vector<uint8_t> (*make)(size_t, uint32_t);
};
const DataKind kKinds[] = {{"text", TextLike}, {"binary", BinaryLike}, {"random", Random}};

TEST(InflateAgainstZlib, EveryLevelAndDataKind) {
  for (const auto& kind : kKinds) {
    const auto data = kind.make(300000, 7);
    for (int level = 0; level <= 9; ++level) {
      SCOPED_TRACE(std::string(kind.name) + " level " + std::to_string(level));
      EXPECT_EQ(InflateAll(Deflate(data, level, 15, Z_DEFAULT_STRATEGY)), data);
    }
  }
}

TEST(InflateAgainstZlib, EveryStrategyAndWindowSize) {
  const int kStrategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
  for (const auto& kind : kKinds) {
    const auto data = kind.make(200000, 11);
    for (int strategy : kStrategies) {
      for (int windowBits = 9; windowBits <= 15; windowBits += 3) {
        SCOPED_TRACE(std::string(kind.name) + " strategy " + std::to_string(strategy) + " window " +
                     std::to_string(windowBits));
        EXPECT_EQ(InflateAll(Deflate(data, 6, windowBits, strategy)), data);
      }
    }
  }
}

TEST(InflateAgainstZlib, InputInSmallAndOddChunks) {
  const auto data = BinaryLike(150000, 3);
  const auto stream = Deflate(data, 9, 15, Z_DEFAULT_STRATEGY);
  for (size_t chunk : {1, 3, 7, 8, 9, 4096, 65537}) {
    SCOPED_TRACE(chunk);
    EXPECT_EQ(InflateAll(stream, chunk), data);
  }
}

TEST(InflateAgainstZlib, ShortAndEmptyInputs) {
  for (size_t size : {0, 1, 2, 3, 257, 258, 259}) {
    const auto data = TextLike(size, 5);
    for (int level : {0, 1, 9}) EXPECT_EQ(InflateAll(Deflate(data, level, 15, Z_DEFAULT_STRATEGY)), data);
  }
}

// Every prefix of a stream decodes quietly to a prefix of the data.
TEST(InflateAgainstZlib, TruncatedStreamGivesPrefixWithoutError) {
  const auto data = TextLike(3000, 9);
  for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED}) {
    const auto stream = Deflate(data, 9, 15, strategy);
    for (size_t cut = 0; cut < stream.size(); ++cut) {
      const std::vector<uint8_t> prefix(stream.begin(), stream.begin() + cut);
      std::vector<uint8_t> out;
      ASSERT_NO_THROW(out = InflateAll(prefix)) << "cut at " << cut;
      ASSERT_LE(out.size(), data.size());
      ASSERT_TRUE(std::equal(out.begin(), out.end(), data.begin())) << "cut at " << cut;
    }
  }
}

TEST(Crc32AgainstZlib, OddLengthsAndAlignments) {
  const auto data = Random(4096 + 64, 1);
  for (size_t offset = 0; offset < 16; ++offset) {
    for (size_t length = 0; length < 300; length += 1 + length / 16) {
      const uint32_t expected = crc32(0, data.data() + offset, static_cast<uInt>(length));
      EXPECT_EQ(~Crc32Update(0xFFFFFFFFu, data.data() + offset, length), expected)
          << "offset " << offset << " length " << length;
    }
  }
  EXPECT_EQ(~Crc32Update(0xFFFFFFFFu, data.data(), 4096), crc32(0, data.data(), 4096));
}

}  // namespace
}  // namespace setuvane::archive
