// The installer's code as setuvane.exe carries it: the DLL (core/program/program_entry.h)
// packed by scripts/pack-installer-code.py, laid in the starter's section
// ".svcode" at build time. Its first twelve bytes are the DLL's size, its CRC-32 and the LZMA2
// dictionary's size (little-endian); a raw stream of it through the x86 filter and
// LZMA2 follows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace setuvane::starter {

struct CarriedCode {
  uint32_t size;        // of the DLL
  uint32_t checksum;    // its CRC-32
  uint32_t dictionary;  // the LZMA2 dictionary's size
  const uint8_t* packed;
  size_t packedSize;
};

CarriedCode TheCarriedCode();

enum class Unpacking { kDone, kDamaged, kNoMemory };

// Decodes the DLL into `bytes` (room for `code.size`); kDamaged when the stream
// is not whole or does not give the recorded size. Its CRC-32 is checked once, on
// the file it is written to, as read back through the handle held until it loads.
Unpacking UnpackCode(const CarriedCode& code, uint8_t* bytes);

// Whether the numbers of the code are those of a DLL this starter can unpack (a
// damaged one may name any size).
bool Plausible(const CarriedCode& code);

// The CRC-32 (that of ZIP and .xz) of `size` bytes, continuing from `running`.
uint32_t ChecksumOf(const uint8_t* bytes, size_t size, uint32_t running = 0);

}  // namespace setuvane::starter
