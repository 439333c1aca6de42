// A solid package: the files of a package as one compressed stream across them,
// which finds what many alike files share where a ZIP compresses each entry alone.
// The installer's single files carry it (`setuvane-pack build --solid`); the folder
// medium's install.zip stays a ZIP. All numbers are little-endian:
//
//   offset  size  field
//        0     8  "SVSOLID" and 0x1A (the mark)
//        8     4  format, 1
//       12     4  the number of entries
//       16     8  the index's length, decoded
//       24     8  the length of the entries' bytes, decoded
//       32     8  the stream's length
//       40        the stream: one .xz stream (xz-utils), no check of its own
//
// The stream decodes to the index followed by every entry's bytes in index order.
// Each index entry is 16 bytes and two texts:
//
//        0     4  uncompressed size
//        4     4  CRC-32
//        8     2  MS-DOS date, then 2 MS-DOS time
//       12     2  the name's length, then 2 the destination text's length
//       16        the name (Windows-1250, "/" between folders), the destination text
//
// The reader presents the entries as those of a ZIP (TAbZipItem: name, destination
// text as its extra text, sizes, CRC, time), so that the unzipper, decoding ahead
// and the installation treat both alike; an entry's bytes are read from the
// decoded stream (archive/solid_stream.h) as a stored entry's. The package's
// checksum and its signature cover the stream like any package; the ZIP's
// traditional encryption has no place in it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace setuvane::archive {

class ReadableFile;

inline constexpr uint8_t kSolidMark[8] = {'S', 'V', 'S', 'O', 'L', 'I', 'D', 0x1A};
inline constexpr uint32_t kSolidFormat = 1;
inline constexpr size_t kSolidHeaderSize = 40;
inline constexpr size_t kSolidIndexEntrySize = 16;
// The method entries of a solid package show (APPNOTE's number for XZ).
inline constexpr uint16_t kSolidMethod = 95;

struct SolidHeader {
  uint32_t entries = 0;
  uint64_t indexLength = 0;
  uint64_t dataLength = 0;
  uint64_t streamLength = 0;
};

struct SolidIndexEntry {
  uint32_t size = 0;
  uint32_t crc = 0;
  uint16_t dosDate = 0, dosTime = 0;
  std::string name;         // Windows-1250, "/" between folders
  std::string destination;  // the destination text (empty for a setup file)
};

// True when `file` begins with the mark of a solid package.
bool IsSolidPackage(ReadableFile& file);
// The header of a solid package whose stream lies whole in `file`. EAbSolidDamaged
// when the file ends before the stream does; EAbZipInvalid for a header that no
// package tool writes (another format, more than 2 GiB decoded, an index of more
// than 64 MiB or too short for its entries).
SolidHeader ReadSolidHeader(ReadableFile& file);
std::array<uint8_t, kSolidHeaderSize> EncodeSolidHeader(const SolidHeader& header);

void AppendSolidIndexEntry(std::vector<uint8_t>& index, const SolidIndexEntry& entry);
// The index's entries; EAbZipInvalid when it does not hold exactly `count` entries
// whose sizes add up to `dataLength`.
std::vector<SolidIndexEntry> ParseSolidIndex(const std::vector<uint8_t>& index, uint32_t count,
                                             uint64_t dataLength);

// The order to take `entries` (stored order) in when the stream is read in two
// parts, the second holding the entries from `firstOfSecond` on (x86 programs:
// large files, slow to decode) and the first the rest (mostly many small text
// files, slow to create). The leading entries without a destination (setup files
// and components) stay first; the others of both parts follow, each part in its
// own order, merged so that the decoding and the writing done so far stay level:
// decoding ahead then decodes programs while small files are being created, where
// taking the parts one after the other would keep one thread waiting for the other
// through each.
std::vector<size_t> InterleavedOrder(const std::vector<SolidIndexEntry>& entries, size_t firstOfSecond);

}  // namespace setuvane::archive
