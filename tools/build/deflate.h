// Raw deflate (RFC 1951) of one whole entry, through a well-kept library: libdeflate
// natively (smaller and several times faster than zlib at the same level, see
// bench/README.md), zlib in the Windows build, for which Debian packages no
// libdeflate. Levels run from 1 to 12 (libdeflate's range); zlib takes at most 9.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace setuvane::pack {

inline constexpr int kDefaultDeflateLevel = 9;

// The compressed bytes, or nothing when they would not be smaller than the input
// (the entry is then stored).
std::vector<uint8_t> Deflate(const uint8_t* data, size_t size, int level);

}  // namespace setuvane::pack
