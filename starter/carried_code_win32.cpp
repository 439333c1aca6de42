#include "starter/carried_code.h"

#include <lzma.h>

// The packed code, put here by the assembler from the file the build named, in a
// section of its own, ".svcode", which the starter's references keep when the
// linker drops unused ones.
__asm__(".section .svcode,\"dr\"\n"
        ".p2align 2\n"
        "_setuvane_code:\n"
        ".incbin \"" SETUVANE_CODE_FILE "\"\n"
        "_setuvane_code_end:\n"
        ".text\n");
extern "C" const uint8_t setuvane_code[];
extern "C" const uint8_t setuvane_code_end[];

namespace setuvane::starter {
namespace {

constexpr size_t kHeader = 12;
// Machines of Windows 95's time have 32 MB: the DLL is about one, and its
// dictionary as large as itself.
constexpr uint32_t kLargest = 16u << 20;

uint32_t Little32(const uint8_t* at) { return at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24; }

}  // namespace

CarriedCode TheCarriedCode() {
  const size_t total = size_t(setuvane_code_end - setuvane_code);
  if (total < kHeader) return {0, 0, 0, setuvane_code, 0};
  return {Little32(setuvane_code), Little32(setuvane_code + 4), Little32(setuvane_code + 8),
          setuvane_code + kHeader, total - kHeader};
}

bool Plausible(const CarriedCode& code) {
  return code.size > 0 && code.size <= kLargest && code.dictionary >= LZMA_DICT_SIZE_MIN &&
         code.dictionary <= kLargest;
}

Unpacking UnpackCode(const CarriedCode& code, uint8_t* bytes) {
  lzma_options_lzma options{};
  options.dict_size = code.dictionary;
  const lzma_filter filters[] = {{LZMA_FILTER_X86, nullptr}, {LZMA_FILTER_LZMA2, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
  size_t in = 0, out = 0;
  const lzma_ret result =
      lzma_raw_buffer_decode(filters, nullptr, code.packed, &in, code.packedSize, bytes, &out, code.size);
  if (result == LZMA_MEM_ERROR) return Unpacking::kNoMemory;
  return result == LZMA_OK && out == code.size ? Unpacking::kDone : Unpacking::kDamaged;
}

uint32_t ChecksumOf(const uint8_t* bytes, size_t size, uint32_t running) {
  // The table is made at the first call: in the file it would cost 1 KB.
  static uint32_t table[256];
  if (table[1] == 0) {
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int bit = 0; bit < 8; ++bit) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
      table[n] = c;
    }
  }
  uint32_t crc = ~running;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

}  // namespace setuvane::starter
