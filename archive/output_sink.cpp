#include "archive/output_sink.h"

#include <algorithm>

#include "archive/crc32.h"
#include "archive/exceptions.h"
#include "archive/percentage.h"

namespace setuvane::archive {

OutputSink::OutputSink(WritableFile& file, uint32_t uncompressedSize, uint32_t step, ProgressHandler progress,
                       std::vector<uint8_t>& buffer)
    : file_(file), size_(uncompressedSize), step_(step), progress_(std::move(progress)), buffer_(buffer),
      nextPoint_(std::min<uint64_t>(step, uncompressedSize)) {
  if (size_ == 0) nextPoint_ = 1;  // no report points at all
  buffer_.clear();
  buffer_.reserve(kWriteBackSize);
}

void OutputSink::Write(const uint8_t* data, size_t length) {
  const size_t allowed = std::min<size_t>(length, size_ - written_);
  if (allowed > 0) {
    crc_ = Crc32Update(crc_, data, allowed);
    // Large pieces and the whole rest of the entry go straight to the file: copying
    // them into the buffer first would only cost time.
    if (buffer_.empty() && (allowed >= kDirectWriteSize || written_ + allowed == size_)) {
      file_.Write(data, allowed);
    } else {
      if (buffer_.size() + allowed > kWriteBackSize) Flush();
      if (allowed >= kWriteBackSize) file_.Write(data, allowed);
      else buffer_.insert(buffer_.end(), data, data + allowed);
    }
    written_ += uint32_t(allowed);
    ReportUpTo(written_);
  }
  if (allowed < length) throw EAbZipBadCRC();
}

void OutputSink::Flush() {
  if (buffer_.empty()) return;
  file_.Write(buffer_.data(), buffer_.size());
  buffer_.clear();
}

void OutputSink::Report(uint32_t count) {
  const uint8_t percent = Percentage(count, size_);
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  if (progress_) progress_(percent);
}

void OutputSink::ReportUpTo(uint32_t count) {
  while (nextPoint_ <= count) {
    Report(static_cast<uint32_t>(nextPoint_));
    nextPoint_ = nextPoint_ == size_ ? uint64_t(size_) + 1 : std::min<uint64_t>(nextPoint_ + step_, size_);
  }
}

void OutputSink::Finish() {
  Flush();
  if (written_ < size_) Report(written_);
}

}  // namespace setuvane::archive
