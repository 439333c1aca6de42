#include "archive/zip_archive.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>

#include "archive/exceptions.h"
#include "archive/read_ahead_stream.h"
#include "archive/solid_package.h"
#include "archive/solid_stream.h"
#include "archive/worker_thread.h"

namespace setuvane::archive {
namespace {

constexpr uint8_t kEndSignatureBytes[4] = {0x50, 0x4B, 0x05, 0x06};
constexpr int64_t kLargestArchive = std::numeric_limits<int32_t>::max();

uint32_t LoadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

TAbZipArchive::TAbZipArchive(FileSystem& fileSystem, const std::string& fileName, uint16_t mode,
                             std::optional<FilePart> part)
    : TAbArchive(fileSystem, fileName, mode, part) {}

TAbZipArchive::TAbZipArchive(FileSystem& fileSystem, const std::string& fileName, std::shared_ptr<ReadableFile> file,
                             uint16_t mode, std::optional<FilePart> part)
    : TAbArchive(fileSystem, fileName, std::move(file), mode, part) {}

int64_t TAbZipArchive::FindEndRecord() {
  const int64_t size = Stream().Size();
  int64_t back = 0;
  int64_t window = 28;
  uint8_t bytes[32];
  for (;;) {
    if (back == size + 28) throw EAbZipInvalid();
    back += 28;
    if (back == size + 28) throw EAbZipInvalid();
    back = std::min(back, size);
    if (back > kEndRecordSearchLimit) throw EAbZipInvalid();
    const int64_t position = size - back;
    window = std::min(window, size);
    const size_t got = Stream().ReadAt(position, bytes, static_cast<size_t>(window));
    for (size_t i = 0; i + 4 <= got; ++i) {
      if (std::memcmp(bytes + i, kEndSignatureBytes, 4) == 0) return position + int64_t(i);
    }
    window = 32;
  }
}

void TAbZipArchive::LoadDirectory() {
  SetStatus(TAbArchiveStatus::asBusy);
  try {
    ReadDirectory();
  } catch (...) {
    if (Status() != TAbArchiveStatus::asInvalid) SetStatus(TAbArchiveStatus::asIdle);
    if (OnLoad) OnLoad();
    throw;
  }
  SetStatus(TAbArchiveStatus::asIdle);
  if (OnLoad) OnLoad();
}

// A Zip64 archive marks the 32-bit fields it outgrew with all ones and puts a locator
// of its own end record right before the classic one (APPNOTE 4.3.14, 4.3.15).
void TAbZipArchive::RefuseZip64(int64_t endPosition) const {
  if (footer_.TotalEntries == 0xFFFF || footer_.EntriesOnDisk == 0xFFFF ||
      footer_.DirectoryOffset == 0xFFFFFFFF || footer_.DirectorySize == 0xFFFFFFFF) {
    throw EAbZipTooLarge();
  }
  uint8_t locator[4];
  if (endPosition >= 20 && Stream().ReadAt(endPosition - 20, locator, 4) == 4 &&
      LoadU32(locator) == kZip64FooterLocatorSignature) {
    throw EAbZipTooLarge();
  }
}

// Each local record holds at least its 30 fixed bytes and its compressed data, so
// sorted by offset each must end before the next begins, and the last before the
// central directory. A refused archive stays invalid, so that none of the entries
// already listed can be extracted. Names and extra fields of local headers are
// known only when an entry is extracted; UnzipEntry checks the exact end there.
// Entries beyond the 32-bit model are left out: they fail alone when extracted.
void TAbZipArchive::RefuseOverlaps() {
  localOffsets_.clear();
  std::vector<std::pair<uint32_t, uint32_t>> records;  // offset, compressed size
  for (int i = 0; i < Count(); ++i) {
    const TAbZipItem& item = ItemAt(i);
    // Entries beyond the 32-bit model fail alone when extracted (EAbZipTooLarge).
    if (item.RelativeOffset() > kLargestArchive || item.CompressedSize() > kLargestArchive) continue;
    records.emplace_back(item.RelativeOffset(), item.CompressedSize());
  }
  std::sort(records.begin(), records.end());
  for (size_t i = 0; i < records.size(); ++i) {
    const int64_t end = int64_t(records[i].first) + int64_t(TAbZipLocalFileHeader::kFixedSize) + records[i].second;
    const int64_t next = i + 1 < records.size() ? records[i + 1].first : int64_t(footer_.DirectoryOffset);
    if (end > next) {
      SetStatus(TAbArchiveStatus::asInvalid);
      throw EAbZipOverlap();
    }
    localOffsets_.push_back(records[i].first);
  }
  localOffsets_.push_back(footer_.DirectoryOffset);
}

int64_t TAbZipArchive::DataLimit(uint32_t localOffset) const {
  const auto next = std::upper_bound(localOffsets_.begin(), localOffsets_.end(), localOffset);
  return next == localOffsets_.end() ? int64_t(footer_.DirectoryOffset) : int64_t(*next);
}

// The index at the start of the decoded stream, as entries. The decoder's memory
// goes back once the index is read: decoding ahead decodes the entries' bytes
// with a decoder of its own.
//
// A stream whose programs are a block of their own is read in two parts where the
// machine has memory to spare for a second decoder (its dictionary takes up to
// 16 MiB more), and its entries are then listed interleaved (InterleavedOrder);
// elsewhere in the order they are stored.
void TAbZipArchive::ReadSolidIndex() {
  // Two decoders at once where they take at most an eighth of the memory.
  constexpr uint64_t kMemoryForTwoParts = 16 * SolidStream::kMemoryLimit;
  const SolidHeader header = ReadSolidHeader(Stream());
  isSolid_ = true;
  const int64_t decoded = int64_t(header.indexLength + header.dataLength);
  std::optional<SecondBlock> second;
  if (PhysicalMemory() >= kMemoryForTwoParts) {
    second = FindSecondBlock(Stream(), int64_t(kSolidHeaderSize), int64_t(header.streamLength));
  }
  // Every stream opened from now on is read in the parts settled below.
  auto parts = std::make_shared<std::optional<SecondBlock>>();
  DecodeStreamWith([header, decoded, parts](std::unique_ptr<ReadableFile> file) {
    return std::make_unique<SolidStream>(std::move(file), int64_t(kSolidHeaderSize), int64_t(header.streamLength),
                                         decoded, *parts);
  });
  std::vector<uint8_t> index(size_t(header.indexLength));
  if (!index.empty()) Stream().ReadAt(0, index.data(), index.size());
  std::vector<SolidIndexEntry> entries = ParseSolidIndex(index, header.entries, header.dataLength);
  std::vector<uint32_t> offsets;  // of each entry's bytes in the decoded stream
  size_t firstOfSecond = entries.size();
  uint32_t offset = uint32_t(header.indexLength);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (second && firstOfSecond == entries.size() && offset >= second->decodedOffset) firstOfSecond = i;
    offsets.push_back(offset);
    offset += entries[i].size;
  }
  // The parts' boundary must fall between two entries, as the package tool puts it.
  if (second && (firstOfSecond == entries.size() || offsets[firstOfSecond] != second->decodedOffset)) second.reset();
  std::vector<size_t> order;
  if (second) {
    order = InterleavedOrder(entries, firstOfSecond);
  } else {
    order.resize(entries.size());
    std::iota(order.begin(), order.end(), size_t{0});
  }
  *parts = second;
  static_cast<SolidStream&>(Stream()).ReadInParts(second);
  const int divisor = header.entries == 0 ? 1 : int(std::min<uint32_t>(header.entries, 0x7FFFFFFF));
  for (size_t i : order) {
    SolidIndexEntry& entry = entries[i];
    TAbZipDirectoryFileHeader record;
    record.VersionMadeBy = record.VersionNeededToExtract = 20;
    record.CompressionMethod = kSolidMethod;
    record.LastModFileDate = entry.dosDate;
    record.LastModFileTime = entry.dosTime;
    record.CRC32 = entry.crc;
    record.UncompressedSize = entry.size;
    record.FileNameLength = uint16_t(entry.name.size());
    record.FileName = std::move(entry.name);
    record.ExtraFieldLength = uint16_t(entry.destination.size());
    record.ExtraField = std::move(entry.destination);
    record.RelativeOffset = offsets[i];  // of its bytes in the decoded stream
    auto item = std::make_unique<TAbZipItem>();
    item->LoadFromHeader(std::move(record));
    ItemList().Add(std::move(item));
    ReportArchiveProgress(static_cast<uint8_t>(std::min(Count() * 100 / divisor, 100)), false);
  }
  ReportArchiveProgress(100, true);
  SetDirty(false);
}

void TAbZipArchive::ReadDirectory() {
  if (IsSolidPackage(Stream())) {
    ReadSolidIndex();
    return;
  }
  ReadAheadStream stream(Stream());
  const int64_t size = stream.Size();
  if (size == 0) return;
  if (size > kLargestArchive) throw EAbZipTooLarge();

  uint8_t start[4] = {};
  const size_t got = stream.Read(start, 4);
  const bool startsWithPK = got >= 2 && start[0] == 'P' && start[1] == 'K';
  isExecutable_ = got >= 2 && start[0] == 'M' && start[1] == 'Z';
  if (startsWithPK && got == 4 && LoadU32(start) == kDataDescriptorSignature) isSpanned_ = true;

  const int64_t endPosition = FindEndRecord();
  if (!startsWithPK && !isExecutable_) isSpanned_ = true;
  stream.Seek(endPosition);
  footer_.Read(stream);
  currentDisk_ = footer_.DiskNumber;
  RefuseZip64(endPosition);
  if (footer_.DirectoryOffset > endPosition) throw EAbZipInvalid();

  const int divisor = footer_.TotalEntries == 0 ? 1 : footer_.TotalEntries;
  int64_t smallestOffset = std::numeric_limits<int64_t>::max();
  stream.Seek(footer_.DirectoryOffset);
  while (stream.Position() < endPosition) {
    auto item = std::make_unique<TAbZipItem>();
    item->LoadFromStream(stream);
    if (isExecutable_) smallestOffset = std::min<int64_t>(smallestOffset, item->RelativeOffset());
    ItemList().Add(std::move(item));
    ReportArchiveProgress(static_cast<uint8_t>(std::min(Count() * 100 / divisor, 100)), false);
  }
  // The last header ran into the end record: the directory is damaged.
  if (stream.Position() != endPosition) throw EAbZipInvalid();
  RefuseOverlaps();
  ReportArchiveProgress(100, true);
  if (isExecutable_ && Count() > 0) stubSize_ = smallestOffset;
  SetDirty(false);
}

}  // namespace setuvane::archive
