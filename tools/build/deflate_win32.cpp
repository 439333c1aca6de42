// Deflate through zlib (raw stream, no zlib header: negative window bits).
#include <zlib.h>

#include <algorithm>
#include <climits>

#include "tools/build/deflate.h"

namespace setuvane::pack {

std::vector<uint8_t> Deflate(const uint8_t* data, size_t size, int level) {
  if (size == 0 || size > UINT_MAX) return {};
  z_stream stream{};
  if (deflateInit2(&stream, std::min(level, 9), Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::vector<uint8_t> out(size - 1);
  stream.next_in = const_cast<Bytef*>(data);
  stream.avail_in = static_cast<uInt>(size);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  // Z_STREAM_END only when everything fitted into fewer bytes than the input.
  const bool smaller = deflate(&stream, Z_FINISH) == Z_STREAM_END;
  out.resize(smaller ? stream.total_out : 0);
  deflateEnd(&stream);
  return out;
}

}  // namespace setuvane::pack
