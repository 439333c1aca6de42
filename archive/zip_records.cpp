#include "archive/zip_records.h"

#include "archive/exceptions.h"

namespace setuvane::archive {
namespace {

// Little-endian fields taken in order from a record read in one piece.
class FieldReader {
 public:
  explicit FieldReader(const uint8_t* bytes) : p_(bytes) {}
  uint16_t U16() {
    const uint16_t v = static_cast<uint16_t>(p_[0] | p_[1] << 8);
    p_ += 2;
    return v;
  }
  uint32_t U32() {
    const uint32_t v = uint32_t(p_[0]) | uint32_t(p_[1]) << 8 | uint32_t(p_[2]) << 16 | uint32_t(p_[3]) << 24;
    p_ += 4;
    return v;
  }

 private:
  const uint8_t* p_;
};

std::string ReadBytes(ReadAheadStream& stream, size_t length) {
  std::string bytes(length, '\0');
  stream.ReadExact(bytes.data(), length);
  return bytes;
}

void CheckSignature(uint32_t read, uint32_t valid) {
  if (read != valid) throw EAbZipInvalid();
}

// Fields 4 to 29 of a local header and 6 to 31 of a central one are the same run.
void ReadCommonFields(FieldReader& in, TAbZipFileHeader& header) {
  header.VersionNeededToExtract = in.U16();
  header.GeneralPurposeBitFlag = in.U16();
  header.CompressionMethod = in.U16();
  header.LastModFileTime = in.U16();
  header.LastModFileDate = in.U16();
  header.CRC32 = in.U32();
  header.CompressedSize = in.U32();
  header.UncompressedSize = in.U32();
  header.FileNameLength = in.U16();
  header.ExtraFieldLength = in.U16();
}

}  // namespace

void TAbZipLocalFileHeader::Read(ReadAheadStream& stream) {
  uint8_t fixed[kFixedSize];
  stream.ReadExact(fixed, sizeof fixed);
  FieldReader in(fixed);
  Signature = in.U32();
  CheckSignature(Signature, ValidSignature);
  ReadCommonFields(in, *this);
  FileName = ReadBytes(stream, FileNameLength);
  ExtraField = ReadBytes(stream, ExtraFieldLength);
}

void TAbZipDirectoryFileHeader::Read(ReadAheadStream& stream) {
  uint8_t fixed[kFixedSize];
  stream.ReadExact(fixed, sizeof fixed);
  FieldReader in(fixed);
  Signature = in.U32();
  CheckSignature(Signature, ValidSignature);
  VersionMadeBy = in.U16();
  ReadCommonFields(in, *this);
  FileCommentLength = in.U16();
  DiskNumberStart = in.U16();
  InternalFileAttributes = in.U16();
  ExternalFileAttributes = in.U32();
  RelativeOffset = in.U32();
  FileName = ReadBytes(stream, FileNameLength);
  ExtraField = ReadBytes(stream, ExtraFieldLength);
  FileComment = ReadBytes(stream, FileCommentLength);
}

void TAbZipDirectoryFileFooter::Read(ReadAheadStream& stream) {
  uint8_t fixed[kFixedSize];
  stream.ReadExact(fixed, sizeof fixed);
  FieldReader in(fixed);
  Signature = in.U32();
  CheckSignature(Signature, ValidSignature);
  DiskNumber = in.U16();
  StartDiskNumber = in.U16();
  EntriesOnDisk = in.U16();
  TotalEntries = in.U16();
  DirectorySize = in.U32();
  DirectoryOffset = in.U32();
  ZipfileCommentLength = in.U16();
  ZipfileComment = ReadBytes(stream, ZipfileCommentLength);
}

}  // namespace setuvane::archive
