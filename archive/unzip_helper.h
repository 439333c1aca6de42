// Decoding of one entry's data: the password check of an encrypted entry, the choice
// of decoder by compression method, and the output with its CRC-32 and progress.
#pragma once

#include <cstdint>

#include "archive/extraction_buffers.h"
#include "archive/file_system.h"
#include "archive/output_sink.h"
#include "archive/zdecoder.h"

namespace setuvane::archive {

struct EntryData {
  int64_t offset;             // where the entry's data (or encryption header) begins
  uint32_t compressedSize;    // including the 12-byte encryption header
  uint32_t uncompressedSize;  // the output limit and progress total
  uint16_t compressionMethod;
  uint16_t generalPurposeBitFlag;  // bits 1 and 2 select the implode variant
};

class TAbUnzipHelper {
 public:
  // Progress points: every 4 KiB input chunk of a stored entry, every 32 KiB of
  // output of the other methods, as the events of the unzip component are defined.
  static constexpr uint32_t kStoredProgressStep = 4096;
  static constexpr uint32_t kOutputProgressStep = 32768;

  // `decoder` is null for a plain entry.
  TAbUnzipHelper(ReadableFile& archive, const EntryData& entry, TAbZDecoder* decoder, WritableFile& target,
                 OutputSink::ProgressHandler progress, ExtractionBuffers& buffers);

  // Decodes the entry into the target and returns the CRC-32 of the bytes written.
  // Throws EAbZipInvalidPassword, EAbZipInvalidMethod, the decoders' errors, and
  // EAbZipBadCRC when the output would exceed the uncompressed size.
  uint32_t DecodeEntry();
  // The same from the entry's data read (and decrypted) already: no password check.
  uint32_t DecodeFrom(ByteSource& input);
  // Bytes written by DecodeEntry.
  uint32_t Written() const { return written_; }

 private:
  ReadableFile& archive_;
  EntryData entry_;
  TAbZDecoder* decoder_;
  WritableFile& target_;
  OutputSink::ProgressHandler progress_;
  ExtractionBuffers& buffers_;
  uint32_t written_ = 0;
};

}  // namespace setuvane::archive
