// Deflate through libdeflate, which compresses a whole buffer in one call.
#include <libdeflate.h>

#include <memory>

#include "tools/build/deflate.h"

namespace setuvane::pack {

namespace {

using Compressor = std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)>;

// A compressor holds a few hundred kilobytes of tables: one per thread and level.
libdeflate_compressor* CompressorFor(int level) {
  thread_local Compressor compressor(nullptr, libdeflate_free_compressor);
  thread_local int compressorLevel = -1;
  if (compressorLevel != level) {
    compressor.reset(libdeflate_alloc_compressor(level));
    compressorLevel = level;
  }
  return compressor.get();
}

}  // namespace

std::vector<uint8_t> Deflate(const uint8_t* data, size_t size, int level) {
  libdeflate_compressor* compressor = CompressorFor(level);
  if (compressor == nullptr || size == 0) return {};
  // Output that is not smaller is refused by the call itself (returns 0).
  std::vector<uint8_t> out(size - 1);
  const size_t written = libdeflate_deflate_compress(compressor, data, size, out.data(), out.size());
  out.resize(written);
  return out;
}

}  // namespace setuvane::pack
