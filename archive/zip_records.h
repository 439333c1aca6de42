// The on-disk records of a ZIP archive (PKWARE APPNOTE 4.3.7, 4.3.9, 4.3.12, 4.3.16)
// as this reader understands them: little-endian fields read one by one, names and
// extra fields kept as raw bytes. Each Read checks the record's signature and throws
// EAbZipInvalid on a mismatch, EReadError when the file ends inside the record.
// Sizes and offsets are 32-bit; Zip64 records are not understood (see zip_archive).
#pragma once

#include <cstdint>
#include <string>

#include "archive/read_ahead_stream.h"

namespace setuvane::archive {

inline constexpr uint32_t kLocalFileHeaderSignature = 0x04034B50;
inline constexpr uint32_t kDirectoryFileHeaderSignature = 0x02014B50;
inline constexpr uint32_t kDirectoryFileFooterSignature = 0x06054B50;
inline constexpr uint32_t kDataDescriptorSignature = 0x08074B50;
inline constexpr uint32_t kZip64FooterLocatorSignature = 0x07064B50;

// The part that local and central headers share.
class TAbZipFileHeader {
 public:
  virtual ~TAbZipFileHeader() = default;

  uint32_t ValidSignature = 0;  // the one this kind of header must carry
  uint32_t Signature = 0;       // the one read
  uint16_t VersionNeededToExtract = 0;
  uint16_t GeneralPurposeBitFlag = 0;
  uint16_t CompressionMethod = 0;
  uint16_t LastModFileTime = 0;
  uint16_t LastModFileDate = 0;
  uint32_t CRC32 = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;
  uint16_t FileNameLength = 0;
  uint16_t ExtraFieldLength = 0;
  std::string FileName;    // raw bytes; empty when the header has none
  std::string ExtraField;  // raw bytes; empty when the header has none

  bool IsEncrypted() const { return (GeneralPurposeBitFlag & 0x0001) != 0; }
  // Name and comment in UTF-8 (APPNOTE 4.4.4 bit 11, Appendix D).
  bool HasUtf8Name() const { return (GeneralPurposeBitFlag & 0x0800) != 0; }

 protected:
  explicit TAbZipFileHeader(uint32_t validSignature) : ValidSignature(validSignature) {}
};

// 30 bytes, then name and extra field (APPNOTE 4.3.7).
class TAbZipLocalFileHeader : public TAbZipFileHeader {
 public:
  static constexpr size_t kFixedSize = 30;
  TAbZipLocalFileHeader() : TAbZipFileHeader(kLocalFileHeaderSignature) {}
  // Leaves the stream at the entry's data.
  void Read(ReadAheadStream& stream);
};

// 46 bytes, then name, extra field and comment (APPNOTE 4.3.12).
class TAbZipDirectoryFileHeader : public TAbZipFileHeader {
 public:
  static constexpr size_t kFixedSize = 46;
  TAbZipDirectoryFileHeader() : TAbZipFileHeader(kDirectoryFileHeaderSignature) {}
  // Leaves the stream just past the record's comment.
  void Read(ReadAheadStream& stream);

  uint16_t VersionMadeBy = 0;
  uint16_t FileCommentLength = 0;
  uint16_t DiskNumberStart = 0;
  uint16_t InternalFileAttributes = 0;
  uint32_t ExternalFileAttributes = 0;
  uint32_t RelativeOffset = 0;  // of the entry's local header
  std::string FileComment;
};

// End of central directory record: 22 bytes, then the comment (APPNOTE 4.3.16).
class TAbZipDirectoryFileFooter {
 public:
  static constexpr size_t kFixedSize = 22;
  void Read(ReadAheadStream& stream);

  uint32_t ValidSignature = kDirectoryFileFooterSignature;
  uint32_t Signature = 0;
  uint16_t DiskNumber = 0;
  uint16_t StartDiskNumber = 0;
  uint16_t EntriesOnDisk = 0;
  uint16_t TotalEntries = 0;
  uint32_t DirectorySize = 0;
  uint32_t DirectoryOffset = 0;
  uint16_t ZipfileCommentLength = 0;
  std::string ZipfileComment;
};

// Never read during extraction (sizes and CRC come from the central directory);
// kept for the record set's completeness.
class TAbZipDataDescriptor {
 public:
  uint32_t Signature = kDataDescriptorSignature;
  uint32_t CRC32 = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;
};

}  // namespace setuvane::archive
