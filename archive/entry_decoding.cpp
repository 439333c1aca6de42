#include "archive/entry_decoding.h"

#include <limits>

#include "archive/exceptions.h"
#include "archive/read_ahead_stream.h"
#include "archive/target_path.h"
#include "archive/unzip_helper.h"

namespace setuvane::archive {
namespace {

constexpr uint8_t kHighestVersionNeeded = 20;
constexpr uint32_t kLargestSize = std::numeric_limits<int32_t>::max();

}  // namespace

EntryFacts EntryFacts::Of(const TAbZipArchive& archive, const TAbZipItem& item) {
  const bool solid = archive.IsSolid();
  return {item.VersionNeededToExtract(), item.NameNotCp1250(), item.StoredName(),
          (archive.ExtractOptions() & eoRestorePath) != 0, solid ? item.UncompressedSize() : item.CompressedSize(),
          item.UncompressedSize(), item.RelativeOffset(), item.CRC32(),
          solid ? uint16_t(0) : item.CompressionMethod(), item.GeneralPurposeBitFlag(), item.LastModFileTime(),
          item.IsEncrypted(), solid ? 0 : archive.DataLimit(item.RelativeOffset()), solid};
}

int64_t LocateData(ReadableFile& file, const EntryFacts& entry) {
  if ((entry.versionNeeded & 0xFF) > kHighestVersionNeeded) throw EAbZipVersion();
  if (entry.nameNotCp1250) throw EAbZipNameNotCp1250();
  // Writing and testing both come here, so a name that would fail on Windows fails
  // a test on any system too.
  CheckStoredName(entry.storedName, entry.restorePath);
  // Sizes and offsets are signed 32-bit in this model; all ones marks Zip64.
  if (entry.compressedSize > kLargestSize || entry.uncompressedSize > kLargestSize ||
      entry.relativeOffset > kLargestSize) {
    throw EAbZipTooLarge();
  }
  if (entry.solid) return entry.relativeOffset;
  ReadAheadStream stream(file);
  stream.Seek(entry.relativeOffset);
  TAbZipLocalFileHeader local;
  local.Read(stream);
  if (stream.Position() + int64_t(entry.compressedSize) > entry.dataLimit) throw EAbZipOverlap();
  return stream.Position();
}

std::unique_ptr<TAbZDecoder> MakeEntryDecoder(const EntryFacts& entry, const std::string& password,
                                              uint8_t retries) {
  auto made = std::make_unique<TAbZDecoder>(password, entry.crc, true);
  made->SetRetries(retries);
  if ((entry.flags & 0x0008) != 0) made->AcceptTimeCheck(entry.dosTime);
  return made;
}

void DecodeChecked(ReadableFile& file, const EntryFacts& entry, TAbZDecoder* decoder, int64_t dataOffset,
                   WritableFile& target, const OutputSink::ProgressHandler& progress, ExtractionBuffers& buffers,
                   ByteSource* input) {
  const EntryData data{dataOffset, entry.compressedSize, entry.uncompressedSize, entry.method, entry.flags};
  TAbUnzipHelper helper(file, data, decoder, target, progress, buffers);
  const uint32_t crc = input != nullptr ? helper.DecodeFrom(*input) : helper.DecodeEntry();
  if (crc != entry.crc || helper.Written() != entry.uncompressedSize) throw EAbZipBadCRC();
}

}  // namespace setuvane::archive
