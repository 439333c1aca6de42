#include "archive/entry_source.h"

#include <algorithm>
#include <cstring>

namespace setuvane::archive {

EntrySource::EntrySource(ReadableFile& file, int64_t offset, uint32_t length, TAbZDecoder* decoder,
                         std::vector<uint8_t>& buffer)
    : file_(file), offset_(offset), remaining_(length), decoder_(decoder), buffer_(buffer) {}

size_t EntrySource::Fetch(uint8_t* buffer, size_t capacity) {
  const size_t wanted = std::min<size_t>(capacity, remaining_);
  if (wanted == 0) return 0;
  const size_t got = file_.ReadAt(offset_, buffer, wanted);
  offset_ += int64_t(got);
  // A file that ends inside the entry ends the entry's input here.
  remaining_ = got < wanted ? 0 : remaining_ - uint32_t(got);
  if (decoder_ != nullptr) decoder_->DecryptBuffer(buffer, got);
  return got;
}

size_t EntrySource::Read(uint8_t* buffer, size_t capacity) {
  if (bufferIndex_ == bufferCount_) {
    if (capacity >= kBufferSize) return Fetch(buffer, capacity);
    if (buffer_.size() < kBufferSize) buffer_.resize(kBufferSize);
    bufferIndex_ = 0;
    bufferCount_ = Fetch(buffer_.data(), buffer_.size());
    if (bufferCount_ == 0) return 0;
  }
  const size_t n = std::min(capacity, bufferCount_ - bufferIndex_);
  std::memcpy(buffer, buffer_.data() + bufferIndex_, n);
  bufferIndex_ += n;
  return n;
}

}  // namespace setuvane::archive
