#include "starter/carried_code.h"

#include <cstring>

#include <lzma.h>

// The packed code, put here by the assembler from the file the build named; in a
// section of its own, which the starter's references keep when the linker drops
// unused ones.
__asm__(".section .rdata$setuvane_code,\"dr\"\n"
        ".p2align 2\n"
        "_setuvane_code:\n"
        ".incbin \"" SETUVANE_CODE_FILE "\"\n"
        "_setuvane_code_end:\n"
        ".text\n");
extern "C" const uint8_t setuvane_code[];
extern "C" const uint8_t setuvane_code_end[];

namespace setuvane::starter {
namespace {

constexpr size_t kHeader = 8;
// The DLL packs with a dictionary as large as itself: about a megabyte to decode.
constexpr uint64_t kMemoryLimit = 16u << 20;

uint32_t Little32(const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24; }

}  // namespace

CarriedCode TheCarriedCode() {
  const size_t total = size_t(setuvane_code_end - setuvane_code);
  if (total < kHeader) return {0, 0, setuvane_code, 0};
  return {Little32(setuvane_code), Little32(setuvane_code + 4), setuvane_code + kHeader, total - kHeader};
}

Unpacking UnpackCode(const CarriedCode& code, uint8_t* bytes) {
  uint64_t limit = kMemoryLimit;
  size_t in = 0, out = 0;
  const lzma_ret result =
      lzma_stream_buffer_decode(&limit, 0, nullptr, code.packed, &in, code.packedSize, bytes, &out, code.size);
  if (result == LZMA_MEM_ERROR) return Unpacking::kNoMemory;
  if (result != LZMA_OK || in != code.packedSize || out != code.size) return Unpacking::kDamaged;
  return ChecksumOf(bytes, out) == code.checksum ? Unpacking::kDone : Unpacking::kDamaged;
}

uint32_t ChecksumOf(const uint8_t* bytes, size_t size, uint32_t running) { return lzma_crc32(bytes, size, running); }

}  // namespace setuvane::starter
