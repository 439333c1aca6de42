// The entries of an archive. TAbArchiveItem is what any archive entry has (names,
// sizes, time, the Marked flag); TAbZipItem answers from the entry's central
// directory header and keeps the decryption object of its last extraction.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/zip_records.h"

namespace setuvane::archive {

class TAbZDecoder;

// Loaded entries are unchanged; the other states belong to archive updates.
enum class TAbArchiveAction : uint8_t { aaFailed, aaNone, aaAdd, aaDelete, aaFreshen, aaMove, aaReplace };

class TAbArchiveItem {
 public:
  virtual ~TAbArchiveItem() = default;

  virtual uint32_t GetCompressedSize() const { return compressedSize_; }
  virtual std::string GetStoredName() const { return storedName_; }
  virtual uint32_t GetUncompressedSize() const { return uncompressedSize_; }
  virtual void SetCompressedSize(uint32_t value) { compressedSize_ = value; }
  virtual void SetStoredName(const std::string& value) { storedName_ = value; }
  virtual void SetUncompressedSize(uint32_t value) { uncompressedSize_ = value; }

  std::string StoredName() const { return GetStoredName(); }
  uint32_t CompressedSize() const { return GetCompressedSize(); }
  uint32_t UncompressedSize() const { return GetUncompressedSize(); }
  // StoredName with "\" separators.
  const std::string& DiskName() const { return diskName_; }
  void SetDiskName(const std::string& value) { diskName_ = value; }
  uint16_t LastModFileTime() const { return lastModFileTime_; }
  uint16_t LastModFileDate() const { return lastModFileDate_; }
  void SetLastModFileTime(uint16_t value) { lastModFileTime_ = value; }
  void SetLastModFileDate(uint16_t value) { lastModFileDate_ = value; }

  bool Marked = false;
  TAbArchiveAction Action = TAbArchiveAction::aaNone;
  TAbArchiveItem* NextItem = nullptr;  // next entry in the same hash bucket

 private:
  std::string diskName_;
  uint32_t compressedSize_ = 0;
  std::string storedName_;
  uint16_t lastModFileTime_ = 0;
  uint16_t lastModFileDate_ = 0;
  uint32_t uncompressedSize_ = 0;
};

class TAbZipItem : public TAbArchiveItem {
 public:
  TAbZipItem();
  ~TAbZipItem() override;

  // Reads the entry's central directory header and takes its names, time and date.
  // A name flagged as UTF-8 (general purpose bit 11) is held in Windows-1250.
  void LoadFromStream(ReadAheadStream& stream);
  // The same from a header made in memory (an entry of a solid package).
  void LoadFromHeader(TAbZipDirectoryFileHeader header);

  uint32_t GetCompressedSize() const override { return header_.CompressedSize; }
  std::string GetStoredName() const override;
  uint32_t GetUncompressedSize() const override { return header_.UncompressedSize; }
  void SetCompressedSize(uint32_t value) override { header_.CompressedSize = value; }
  void SetStoredName(const std::string& value) override;
  void SetUncompressedSize(uint32_t value) override { header_.UncompressedSize = value; }

  uint16_t VersionMadeBy() const { return header_.VersionMadeBy; }
  uint16_t VersionNeededToExtract() const { return header_.VersionNeededToExtract; }
  uint16_t GeneralPurposeBitFlag() const { return header_.GeneralPurposeBitFlag; }
  uint16_t CompressionMethod() const { return header_.CompressionMethod; }
  uint32_t CRC32() const { return header_.CRC32; }
  uint32_t RelativeOffset() const { return header_.RelativeOffset; }
  uint16_t DiskNumberStart() const { return header_.DiskNumberStart; }
  uint32_t ExternalFileAttributes() const { return header_.ExternalFileAttributes; }
  bool IsEncrypted() const { return header_.IsEncrypted(); }
  // A UTF-8 name with characters that Windows-1250 lacks; such an entry fails
  // alone when it is extracted or tested (EAbZipNameNotCp1250).
  bool NameNotCp1250() const { return nameNotCp1250_; }

  // The central extra field as text up to its first NUL. Setting replaces the field
  // in memory (an empty text removes it); the archive file is never changed.
  std::string ExtraText() const;
  void SetExtraText(const std::string& value);

  const TAbZipDirectoryFileHeader& Header() const { return header_; }

  // The decryption object of the entry's latest extraction; replaced by the next.
  TAbZDecoder* Decoder() const { return decoder_.get(); }
  void SetDecoder(std::unique_ptr<TAbZDecoder> decoder);

 private:
  void TakeUtf8Name();

  TAbZipDirectoryFileHeader header_;
  bool nameNotCp1250_ = false;
  std::unique_ptr<TAbZDecoder> decoder_;
};

}  // namespace setuvane::archive
