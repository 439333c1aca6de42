// The checksum of a package carried inside the installer's program: XXH32 (seed 0),
// the 32-bit hash of the xxHash family, kept as a running state so that the bytes
// can be fed in pieces as they are read. It is checked over the whole package
// before anything is installed, so it must cost little next to reading the bytes:
// its four independent 32-bit lanes run about twice as fast as the slicing CRC-32
// of the archive reader on the 32-bit build, and a damaged download is all it has
// to catch (the entries keep their own CRC-32s).
#pragma once

#include <cstddef>
#include <cstdint>

namespace setuvane {

class PackageChecksum {
 public:
  void Update(const uint8_t* data, size_t length);
  uint32_t Value() const;

 private:
  uint32_t lanes_[4] = {0x9E3779B1u + 0x85EBCA77u, 0x85EBCA77u, 0, 0u - 0x9E3779B1u};
  uint8_t pending_[16] = {};  // bytes not yet folded into the lanes
  size_t pendingCount_ = 0;
  uint64_t total_ = 0;
};

uint32_t ChecksumOf(const uint8_t* data, size_t length);

}  // namespace setuvane
