// A minimal reader of ZIP archives for the legacy decoder tests: it walks the
// central directory and hands out each entry's raw (still encrypted) data with the
// fields the decoders need. It checks nothing beyond what it must to find the data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setuvane::archive::testing {

struct RawZipEntry {
  std::string name;
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t crc = 0;
  uint32_t uncompressedSize = 0;
  std::vector<uint8_t> data;  // the compressed bytes, with the 12-byte header when encrypted
};

// Every entry of the archive at `path`; throws std::runtime_error when it cannot be read.
std::vector<RawZipEntry> ReadRawZipEntries(const std::string& path);

}  // namespace setuvane::archive::testing
