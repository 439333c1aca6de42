#include "archive/crc32.h"

#include <gtest/gtest.h>

#include <string>

namespace setuvane::archive {
namespace {

uint32_t Crc(const std::string& text, uint32_t start = 0xFFFFFFFFu) {
  return ~Crc32Update(start, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(Crc32, KnownVectors) {
  EXPECT_EQ(Crc("123456789"), 0xCBF43926u);
  EXPECT_EQ(Crc(""), 0u);
  EXPECT_EQ(Crc("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
  EXPECT_EQ(Crc(std::string(32, '\0')), 0x190A55ADu);
  EXPECT_EQ(kCrc32Table[1], 0x77073096u);
  EXPECT_EQ(kCrc32Table[255], 0x2D02EF8Du);
}

// The sliced loop and the byte step agree at every length and split point.
TEST(Crc32, SlicedRunsMatchByteSteps) {
  std::string text;
  for (int i = 0; i < 200; ++i) text.push_back(static_cast<char>(i * 37 + (i >> 3)));
  for (size_t length = 0; length <= text.size(); length += 7) {
    uint32_t stepped = 0xFFFFFFFFu;
    for (size_t i = 0; i < length; ++i) stepped = Crc32Step(stepped, static_cast<uint8_t>(text[i]));
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    EXPECT_EQ(Crc32Update(0xFFFFFFFFu, bytes, length), stepped) << length;
    const size_t split = length / 3;
    EXPECT_EQ(Crc32Update(Crc32Update(0xFFFFFFFFu, bytes, split), bytes + split, length - split), stepped);
  }
}

}  // namespace
}  // namespace setuvane::archive
