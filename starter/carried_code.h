// The installer's code as setuvane.exe carries it: the DLL (core/program/program_entry.h)
// packed by scripts/pack-installer-code.py, laid in the starter's read-only data at
// build time. Its first eight bytes are the DLL's size and CRC-32 (little-endian),
// an .xz stream of it (x86 filter, LZMA2, CRC-32 check) follows.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace setuvane::starter {

struct CarriedCode {
  uint32_t size;      // of the DLL
  uint32_t checksum;  // its CRC-32
  const uint8_t* packed;
  size_t packedSize;
};

CarriedCode TheCarriedCode();

enum class Unpacking { kDone, kDamaged, kNoMemory };

// Decodes the DLL into `bytes` (room for `code.size`); kDamaged when the stream
// is not whole or does not give the recorded bytes.
Unpacking UnpackCode(const CarriedCode& code, uint8_t* bytes);

// The CRC-32 of `size` bytes (the one the packing recorded).
uint32_t ChecksumOf(const uint8_t* bytes, size_t size, uint32_t running = 0);

}  // namespace setuvane::starter
