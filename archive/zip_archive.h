// A ZIP archive (PKWARE APPNOTE): finds the end of central directory record near the
// end of the file and loads the central directory into entries. Only the 32-bit
// format is understood: archives of 2 GiB or more and Zip64 records are refused
// with EAbZipTooLarge rather than read wrongly. Entries must not share bytes: an
// archive whose entries' local records overlap is refused (EAbZipOverlap), since
// pointing many entries at one compressed stream multiplies what extraction writes.
//
// A solid package (archive/solid_package.h) opens here too: its index gives the
// entries, and from then on the archive's bytes are its decoded stream, in which
// each entry's bytes lie stored, without a local header.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "archive/extraction_buffers.h"
#include "archive/zip_records.h"

namespace setuvane::archive {

class TAbZipArchive : public TAbArchive {
 public:
  using ConfirmOverwriteHandler = std::function<void(std::string& name, bool& confirm)>;
  using NeedPasswordHandler = std::function<void(std::string& password)>;
  using RequestDiskHandler = std::function<void(bool& abort)>;
  using RequestNthDiskHandler = std::function<void(uint8_t diskNumber, bool& abort)>;

  // The end record must begin within this many bytes of the end of the file.
  static constexpr int64_t kEndRecordSearchLimit = 2048;

  TAbZipArchive(FileSystem& fileSystem, const std::string& fileName, uint16_t mode,
                std::optional<FilePart> part = std::nullopt);
  TAbZipArchive(FileSystem& fileSystem, const std::string& fileName, std::shared_ptr<ReadableFile> file,
                uint16_t mode, std::optional<FilePart> part = std::nullopt);

  // Fills the entry list (busy meanwhile, idle after, also after a failure, with the
  // entries read before it) and fires OnLoad in either case.
  void LoadDirectory() override;

  // Position of the end record: the file is searched backwards in windows of 32
  // bytes (28 for the last) that overlap by 4; within a window the earliest
  // signature wins. EAbZipInvalid when none lies within the last 2,044 bytes.
  int64_t FindEndRecord();

  // Where the local record at `localOffset` must end: at the next entry's local
  // header, or at the central directory for the last one.
  int64_t DataLimit(uint32_t localOffset) const;

  const TAbZipDirectoryFileFooter& Footer() const { return footer_; }
  bool IsExecutable() const { return isExecutable_; }
  bool IsSolid() const { return isSolid_; }
  bool IsSpanned() const { return isSpanned_; }
  uint16_t CurrentDisk() const { return currentDisk_; }
  int64_t StubSize() const { return stubSize_; }
  ExtractionBuffers& Buffers() { return buffers_; }
  // The folders whose stale temporary files this archive has already removed; the
  // first entry written into a folder does so (unzip_entry.cpp).
  std::set<std::string>& SweptFolders() { return sweptFolders_; }

  std::string Password;
  uint8_t PasswordRetries = 3;
  ConfirmOverwriteHandler OnConfirmOverwrite;
  NeedPasswordHandler OnNeedPassword;
  RequestDiskHandler OnRequestLastDisk;
  RequestNthDiskHandler OnRequestNthDisk;

 private:
  void ReadDirectory();
  void ReadSolidIndex();
  void RefuseZip64(int64_t endPosition) const;
  void RefuseOverlaps();

  TAbZipDirectoryFileFooter footer_;
  bool isExecutable_ = false;
  bool isSolid_ = false;
  bool isSpanned_ = false;
  uint16_t currentDisk_ = 0;
  int64_t stubSize_ = 0;
  std::vector<uint32_t> localOffsets_;  // sorted, then the directory's offset
  ExtractionBuffers buffers_;
  std::set<std::string> sweptFolders_;
};

}  // namespace setuvane::archive
