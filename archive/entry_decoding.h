// Decoding one entry, apart from where its bytes go: the facts of the entry that
// decoding needs, the checks before its data, its decryption object, and the
// decoding itself with the CRC and size check. The unzipper decodes on the spot
// through these, and decoding ahead on its worker thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/output_sink.h"
#include "archive/zip_archive.h"

namespace setuvane::archive {

// What decoding needs to know of an entry, copied from it so that another thread can
// decode the entry while the entry itself stays with its owner.
struct EntryFacts {
  static EntryFacts Of(const TAbZipArchive& archive, const TAbZipItem& item);

  uint16_t versionNeeded;
  bool nameNotCp1250;
  std::string storedName;
  bool restorePath;  // folder parts of the name are restored (and checked)
  uint32_t compressedSize, uncompressedSize, relativeOffset, crc;
  uint16_t method, flags, dosTime;
  bool encrypted;
  int64_t dataLimit;  // where the entry's local record must end
  // An entry of a solid package: its bytes lie stored at relativeOffset of the
  // decoded stream, without a local header (method and sizes are given so).
  bool solid;
};

// Checks what can be checked before the target is touched and reads the local
// header from `file`; returns where the entry's data begins.
int64_t LocateData(ReadableFile& file, const EntryFacts& entry);
// The decryption object of an encrypted entry, before its password check.
std::unique_ptr<TAbZDecoder> MakeEntryDecoder(const EntryFacts& entry, const std::string& password,
                                              uint8_t retries);
// Decodes the entry's data into `target` and fails it unless the CRC and size agree.
// `input`, when given, holds the data read and decrypted already (from `file`
// otherwise, through `decoder`).
void DecodeChecked(ReadableFile& file, const EntryFacts& entry, TAbZDecoder* decoder, int64_t dataOffset,
                   WritableFile& target, const OutputSink::ProgressHandler& progress, ExtractionBuffers& buffers,
                   ByteSource* input = nullptr);

}  // namespace setuvane::archive
