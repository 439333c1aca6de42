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
  EXPECT_EQ(Crc32Step(Crc32Step(0xFFFFFFFFu, '1'), '2'), Crc32Update(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>("12"), 2));
}

}  // namespace
}  // namespace setuvane::archive
