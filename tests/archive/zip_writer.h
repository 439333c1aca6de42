// A small ZIP writer for tests: stored entries, "deflated" entries made of stored
// deflate blocks (no compressor needed, so it works the same under Wine), traditional
// encryption, and every header field overridable so that tests can build broken
// archives on purpose.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setuvane::archive::testing {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(const std::string& text);
uint32_t ZipCrc(const Bytes& data);

struct ZipEntryLayout {
  std::string name;
  Bytes data;
  uint16_t method = 0;  // 0 stored, 8 deflate (stored blocks); others: data taken as is
  std::optional<std::string> password;
  std::string centralExtra;
  std::string localExtra;
  uint16_t dosTime = 0x6000;  // 12:00:00
  uint16_t dosDate = 0x5A21;  // 2025-01-01
  uint16_t versionNeeded = 20;
  uint16_t extraFlags = 0;  // or-ed into the general purpose flag
  std::optional<uint32_t> crc, compressedSize, uncompressedSize, localOffset;
  std::optional<Bytes> rawPayload;  // replaces the encoded (and encrypted) data
  bool timeCheckByte = false;       // header checked by the time, as streaming writers do
};

struct ZipLayout {
  std::vector<ZipEntryLayout> entries;
  std::string comment;
  Bytes prefix;  // bytes before the first local header (offsets are not adjusted)
  std::optional<uint16_t> totalEntries;
};

struct BuiltZip {
  Bytes bytes;
  std::vector<uint32_t> localOffsets;  // of each local header
  std::vector<uint32_t> dataOffsets;   // of each entry's data
  uint32_t directoryOffset = 0;
  uint32_t endRecordOffset = 0;
};

BuiltZip BuildZip(const ZipLayout& layout);

// Deflate stream of stored blocks (RFC 1951 3.2.4).
Bytes DeflateStored(const Bytes& data);
// Traditional encryption of `plain` behind a 12-byte header whose last byte is `check`.
Bytes Encrypt(const Bytes& plain, const std::string& password, uint8_t check);

}  // namespace setuvane::archive::testing
