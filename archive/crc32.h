// CRC-32 of ZIP entries: the reflected CRC of IEEE 802.3 (polynomial 0xEDB88320).
// The running value is not complemented here: an entry starts with 0xFFFFFFFF and
// the caller complements the final value. The single table step is public because
// the traditional decryption updates its keys with it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace setuvane::archive {

inline constexpr uint32_t kCrc32Polynomial = 0xEDB88320u;

constexpr std::array<uint32_t, 256> MakeCrc32Table() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ kCrc32Polynomial : c >> 1;
    table[n] = c;
  }
  return table;
}

inline constexpr std::array<uint32_t, 256> kCrc32Table = MakeCrc32Table();

// One byte into the running value.
inline uint32_t Crc32Step(uint32_t crc, uint8_t byte) {
  return kCrc32Table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

// `length` bytes into the running value; returns the new running value.
uint32_t Crc32Update(uint32_t crc, const uint8_t* data, size_t length);

}  // namespace setuvane::archive
