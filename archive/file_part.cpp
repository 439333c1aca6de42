#include "archive/file_part.h"

#include <algorithm>

namespace setuvane::archive {

FilePartReader::FilePartReader(std::unique_ptr<ReadableFile> file, FilePart part)
    : file_(std::move(file)), offset_(std::max<int64_t>(part.offset, 0)) {
  size_ = std::clamp<int64_t>(file_->Size() - offset_, 0, std::max<int64_t>(part.size, 0));
}

size_t FilePartReader::ReadAt(int64_t offset, uint8_t* buffer, size_t length) {
  if (offset < 0 || offset >= size_) return 0;
  const size_t within = static_cast<size_t>(std::min<int64_t>(int64_t(length), size_ - offset));
  return file_->ReadAt(offset_ + offset, buffer, within);
}

}  // namespace setuvane::archive
