// The key schedule of traditional PKWARE encryption (APPNOTE 6.1): three 32-bit keys
// set up from the password and then driven by every plain byte, and the key byte
// that is added to the next byte. Shared by the decoder and the package tool's
// encoder; the functions are inline because they sit on the hot path of both.
#pragma once

#include <cstdint>
#include <string>

#include "archive/crc32.h"

namespace setuvane::archive {

struct ZipCipherKeys {
  uint32_t k0 = 0x12345678;
  uint32_t k1 = 0x23456789;
  uint32_t k2 = 0x34567890;
};

// One plain byte into the keys (APPNOTE 6.1.3).
inline void UpdateZipKeys(uint32_t& k0, uint32_t& k1, uint32_t& k2, uint8_t plain) {
  k0 = Crc32Step(k0, plain);
  k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
  k2 = Crc32Step(k2, static_cast<uint8_t>(k1 >> 24));
}

// The key byte that the cipher adds to the next byte, from key 2 (APPNOTE 6.1.5).
inline uint8_t ZipKeyByte(uint32_t k2) {
  const uint32_t t = (k2 & 0xFFFF) | 2;
  return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
}

// The keys after the password, keyed with its bytes as they are (Windows-1250 text).
inline ZipCipherKeys ZipKeysFor(const std::string& password) {
  ZipCipherKeys keys;
  for (const char c : password) UpdateZipKeys(keys.k0, keys.k1, keys.k2, static_cast<uint8_t>(c));
  return keys;
}

}  // namespace setuvane::archive
