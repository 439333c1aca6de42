#include "archive/read_ahead_stream.h"

#include <algorithm>
#include <cstring>

#include "archive/runtime_errors.h"

namespace setuvane::archive {

size_t ReadAheadStream::Read(void* buffer, size_t length) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < length) {
    if (position_ < 0) return done;
    const bool inBuffer = position_ >= bufferStart_ && position_ < bufferStart_ + int64_t(bufferCount_);
    if (!inBuffer) {
      const size_t wanted = length - done;
      if (wanted >= kBufferSize) {  // large reads bypass the buffer
        const size_t n = file_.ReadAt(position_, out + done, wanted);
        position_ += int64_t(n);
        return done + n;
      }
      bufferStart_ = position_;
      bufferCount_ = file_.ReadAt(position_, buffer_.data(), kBufferSize);
      if (bufferCount_ == 0) return done;
    }
    const size_t offset = static_cast<size_t>(position_ - bufferStart_);
    const size_t n = std::min(length - done, bufferCount_ - offset);
    std::memcpy(out + done, buffer_.data() + offset, n);
    done += n;
    position_ += int64_t(n);
  }
  return done;
}

void ReadAheadStream::ReadExact(void* buffer, size_t length) {
  if (Read(buffer, length) != length) throw EReadError();
}

}  // namespace setuvane::archive
