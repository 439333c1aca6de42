// The decoded bytes of one entry as a ByteSink: counted, added to the CRC-32,
// written to the target through a write-back buffer, and reported as progress.
//
// The entry's declared uncompressed size is a hard limit: output beyond it is not
// written and fails the entry with EAbZipBadCRC, so a small crafted entry cannot
// fill the disk. Progress is the percentage of the declared size at fixed report
// points: every multiple of `step` bytes below the size, the size itself, and the
// final count when the output ends short; an event fires only when the percentage
// changed. Larger writes and buffers therefore never change which events fire.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "archive/byte_stream.h"
#include "archive/file_system.h"

namespace setuvane::archive {

class OutputSink final : public ByteSink {
 public:
  static constexpr size_t kWriteBackSize = 256 * 1024;
  static constexpr size_t kDirectWriteSize = 64 * 1024;
  // Receives each new percentage; throws to stop the entry (EAbUserAbort).
  using ProgressHandler = std::function<void(uint8_t percent)>;

  // `buffer` is storage that outlives the sink and is reused between entries.
  OutputSink(WritableFile& file, uint32_t uncompressedSize, uint32_t step, ProgressHandler progress,
             std::vector<uint8_t>& buffer);

  void Write(const uint8_t* data, size_t length) override;
  // Writes what is buffered and makes the last progress report.
  void Finish();

  uint32_t Written() const { return written_; }
  // The CRC-32 of everything written, complemented.
  uint32_t Crc() const { return ~crc_; }

 private:
  void Flush();
  void ReportUpTo(uint32_t count);
  void Report(uint32_t count);

  WritableFile& file_;
  uint32_t size_;
  uint32_t step_;
  ProgressHandler progress_;
  std::vector<uint8_t>& buffer_;
  uint32_t written_ = 0;
  uint32_t crc_ = 0xFFFFFFFF;
  uint64_t nextPoint_;       // next report point; beyond the size once all are made
  uint8_t lastPercent_ = 0;  // starts at 0, so 0 is never reported
};

}  // namespace setuvane::archive
