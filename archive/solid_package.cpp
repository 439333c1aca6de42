#include "archive/solid_package.h"

#include <cstring>
#include <limits>

#include "archive/exceptions.h"
#include "archive/file_system.h"

namespace setuvane::archive {
namespace {

// Decoded offsets are those of the 32-bit model, as a ZIP's.
constexpr uint64_t kLargestDecoded = std::numeric_limits<int32_t>::max();
// The index is held in memory whole: room for some hundred thousand entries.
constexpr uint64_t kLargestIndex = uint64_t(64) << 20;

uint64_t Load(const uint8_t* p, int bytes) {
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

void Store(uint8_t* p, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i, value >>= 8) p[i] = uint8_t(value);
}

void Append(std::vector<uint8_t>& to, uint64_t value, int bytes) {
  to.resize(to.size() + size_t(bytes));
  Store(to.data() + to.size() - size_t(bytes), value, bytes);
}

}  // namespace

bool IsSolidPackage(ReadableFile& file) {
  uint8_t mark[sizeof kSolidMark];
  return file.ReadAt(0, mark, sizeof mark) == sizeof mark && std::memcmp(mark, kSolidMark, sizeof mark) == 0;
}

SolidHeader ReadSolidHeader(ReadableFile& file) {
  uint8_t bytes[kSolidHeaderSize];
  if (file.ReadAt(0, bytes, sizeof bytes) != sizeof bytes) throw EAbSolidDamaged();
  if (std::memcmp(bytes, kSolidMark, sizeof kSolidMark) != 0 || Load(bytes + 8, 4) != kSolidFormat) {
    throw EAbZipInvalid();
  }
  SolidHeader header{uint32_t(Load(bytes + 12, 4)), Load(bytes + 16, 8), Load(bytes + 24, 8), Load(bytes + 32, 8)};
  // Every index entry holds its fixed part, and the whole decodes within 2 GiB.
  if (header.indexLength > kLargestIndex || header.dataLength > kLargestDecoded - header.indexLength ||
      header.indexLength < uint64_t(header.entries) * kSolidIndexEntrySize) {
    throw EAbZipInvalid();
  }
  if (uint64_t(file.Size()) < kSolidHeaderSize || uint64_t(file.Size()) - kSolidHeaderSize < header.streamLength) {
    throw EAbSolidDamaged();
  }
  return header;
}

std::array<uint8_t, kSolidHeaderSize> EncodeSolidHeader(const SolidHeader& header) {
  std::array<uint8_t, kSolidHeaderSize> bytes{};
  std::memcpy(bytes.data(), kSolidMark, sizeof kSolidMark);
  Store(bytes.data() + 8, kSolidFormat, 4);
  Store(bytes.data() + 12, header.entries, 4);
  Store(bytes.data() + 16, header.indexLength, 8);
  Store(bytes.data() + 24, header.dataLength, 8);
  Store(bytes.data() + 32, header.streamLength, 8);
  return bytes;
}

void AppendSolidIndexEntry(std::vector<uint8_t>& index, const SolidIndexEntry& entry) {
  Append(index, entry.size, 4);
  Append(index, entry.crc, 4);
  Append(index, entry.dosDate, 2);
  Append(index, entry.dosTime, 2);
  Append(index, entry.name.size(), 2);
  Append(index, entry.destination.size(), 2);
  index.insert(index.end(), entry.name.begin(), entry.name.end());
  index.insert(index.end(), entry.destination.begin(), entry.destination.end());
}

std::vector<SolidIndexEntry> ParseSolidIndex(const std::vector<uint8_t>& index, uint32_t count,
                                             uint64_t dataLength) {
  std::vector<SolidIndexEntry> entries;
  size_t at = 0;
  uint64_t total = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (index.size() - at < kSolidIndexEntrySize) throw EAbZipInvalid();
    const uint8_t* p = index.data() + at;
    SolidIndexEntry entry;
    entry.size = uint32_t(Load(p, 4));
    entry.crc = uint32_t(Load(p + 4, 4));
    entry.dosDate = uint16_t(Load(p + 8, 2));
    entry.dosTime = uint16_t(Load(p + 10, 2));
    const size_t nameLength = size_t(Load(p + 12, 2)), destinationLength = size_t(Load(p + 14, 2));
    at += kSolidIndexEntrySize;
    if (index.size() - at < nameLength + destinationLength) throw EAbZipInvalid();
    entry.name.assign(index.begin() + std::ptrdiff_t(at), index.begin() + std::ptrdiff_t(at + nameLength));
    at += nameLength;
    entry.destination.assign(index.begin() + std::ptrdiff_t(at),
                             index.begin() + std::ptrdiff_t(at + destinationLength));
    at += destinationLength;
    total += entry.size;
    entries.push_back(std::move(entry));
  }
  if (at != index.size() || total != dataLength) throw EAbZipInvalid();
  return entries;
}

std::vector<size_t> InterleavedOrder(const std::vector<SolidIndexEntry>& entries, size_t firstOfSecond) {
  // Estimates of the work, in nanoseconds, from an installation under Wine on the
  // benchmark's machine: LZMA decodes about 110 MB a second; making a file costs
  // about 0.4 ms, and writing its bytes a little.
  constexpr uint64_t kDecodingPerByte = 9, kWritingPerFile = 400000, kWritingPerByte = 2;
  std::vector<size_t> order;
  order.reserve(entries.size());
  size_t first = 0;
  for (; first < firstOfSecond && entries[first].destination.empty(); ++first) order.push_back(first);
  size_t second = firstOfSecond;
  uint64_t decoding = 0, writing = 0;
  while (first < firstOfSecond || second < entries.size()) {
    const bool takeFirst = second == entries.size() || (first < firstOfSecond && decoding > writing);
    const size_t taken = takeFirst ? first++ : second++;
    decoding += kDecodingPerByte * entries[taken].size;
    writing += kWritingPerFile + kWritingPerByte * entries[taken].size;
    order.push_back(taken);
  }
  return order;
}

}  // namespace setuvane::archive
