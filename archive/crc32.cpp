// CRC-32 by slicing-by-16: sixteen derived tables let the loop fold sixteen input
// bytes into the running value with independent lookups, instead of one dependent
// table step per byte. Table k gives the CRC of a byte followed by k zero bytes.
#include "archive/crc32.h"

#include <bit>
#include <cstring>

namespace setuvane::archive {
namespace {

constexpr int kSlices = 16;
using SliceTables = std::array<std::array<uint32_t, 256>, kSlices>;

constexpr SliceTables MakeSliceTables() {
  SliceTables t{};
  t[0] = kCrc32Table;
  for (int k = 1; k < kSlices; ++k) {
    for (int n = 0; n < 256; ++n) t[k][n] = (t[k - 1][n] >> 8) ^ kCrc32Table[t[k - 1][n] & 0xFF];
  }
  return t;
}

constexpr SliceTables kSliceTables = MakeSliceTables();

// The word loads below read the bytes in file order into the low bits first.
static_assert(std::endian::native == std::endian::little, "slicing assumes little-endian loads");

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

uint32_t Crc32Update(uint32_t crc, const uint8_t* data, size_t length) {
  const auto& t = kSliceTables;
  while (length >= kSlices) {
    const uint32_t a = Load32(data) ^ crc;
    const uint32_t b = Load32(data + 4);
    const uint32_t c = Load32(data + 8);
    const uint32_t d = Load32(data + 12);
    crc = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
          t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
          t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^
          t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
    data += kSlices;
    length -= kSlices;
  }
  while (length-- > 0) crc = Crc32Step(crc, *data++);
  return crc;
}

}  // namespace setuvane::archive
