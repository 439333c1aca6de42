#include "archive/solid_stream.h"

#include <algorithm>
#include <new>

#include <lzma.h>

#include "archive/exceptions.h"

namespace setuvane::archive {
namespace {

// Stream bytes are read in pieces of this size.
constexpr size_t kInputPiece = 64 * 1024;

}  // namespace

struct SolidStream::Decoder {
  lzma_stream stream = LZMA_STREAM_INIT;
  ~Decoder() { lzma_end(&stream); }
};

SolidStream::SolidStream(std::unique_ptr<ReadableFile> raw, int64_t streamOffset, int64_t streamSize,
                         int64_t decodedSize)
    : raw_(std::move(raw)), streamOffset_(streamOffset), streamSize_(streamSize), decodedSize_(decodedSize) {}

SolidStream::~SolidStream() = default;

void SolidStream::Rest() {
  decoder_.reset();
  std::vector<uint8_t>().swap(input_);
  std::vector<uint8_t>().swap(skipped_);
}

void SolidStream::Restart() {
  Rest();
  position_ = 0;
  consumed_ = 0;
  auto decoder = std::make_unique<Decoder>();
  const lzma_ret made = lzma_stream_decoder(&decoder->stream, kMemoryLimit, 0);
  if (made == LZMA_MEM_ERROR) throw std::bad_alloc();
  if (made != LZMA_OK) throw EAbSolidDamaged();
  input_.resize(kInputPiece);
  decoder_ = std::move(decoder);
}

size_t SolidStream::ReadAt(int64_t offset, uint8_t* buffer, size_t length) {
  if (offset < 0 || offset >= decodedSize_ || length == 0) return 0;
  length = size_t(std::min<int64_t>(int64_t(length), decodedSize_ - offset));
  if (!decoder_ || offset < position_) Restart();
  if (offset > position_ && skipped_.empty()) skipped_.resize(kInputPiece);
  while (position_ < offset) Decode(skipped_.data(), size_t(std::min<int64_t>(int64_t(skipped_.size()), offset - position_)));
  Decode(buffer, length);
  return length;
}

void SolidStream::Decode(uint8_t* buffer, size_t length) {
  lzma_stream& stream = decoder_->stream;
  stream.next_out = buffer;
  stream.avail_out = length;
  while (stream.avail_out > 0) {
    if (stream.avail_in == 0 && consumed_ < streamSize_) {
      const size_t want = size_t(std::min<int64_t>(int64_t(input_.size()), streamSize_ - consumed_));
      const size_t got = raw_->ReadAt(streamOffset_ + consumed_, input_.data(), want);
      consumed_ += int64_t(got);
      if (got < want) consumed_ = streamSize_;  // the file ends early: what follows is missing
      stream.next_in = input_.data();
      stream.avail_in = got;
    }
    const bool last = consumed_ >= streamSize_;
    const size_t before = stream.avail_out + stream.avail_in;
    const lzma_ret result = lzma_code(&stream, last ? LZMA_FINISH : LZMA_RUN);
    if (result == LZMA_MEM_ERROR) throw std::bad_alloc();
    // The stream's end before the bytes it should give, or bytes that are no stream
    // (a memory need above the limit among them).
    const bool ended = result == LZMA_STREAM_END && stream.avail_out == 0;
    if (!(result == LZMA_OK || ended) || (last && result == LZMA_OK && stream.avail_out + stream.avail_in == before)) {
      decoder_.reset();
      throw EAbSolidDamaged();
    }
  }
  position_ += int64_t(length);
}

std::optional<std::vector<uint8_t>> UnpackXz(const std::vector<uint8_t>& packed, size_t most) {
  SolidStream::Decoder decoder;
  if (lzma_stream_decoder(&decoder.stream, SolidStream::kMemoryLimit, 0) != LZMA_OK) return std::nullopt;
  std::vector<uint8_t> bytes;
  decoder.stream.next_in = packed.data();
  decoder.stream.avail_in = packed.size();
  for (;;) {
    const size_t done = bytes.size();
    if (done > most) return std::nullopt;
    bytes.resize(done + kInputPiece);
    decoder.stream.next_out = bytes.data() + done;
    decoder.stream.avail_out = kInputPiece;
    const lzma_ret result = lzma_code(&decoder.stream, LZMA_FINISH);
    bytes.resize(bytes.size() - decoder.stream.avail_out);
    if (result == LZMA_STREAM_END) return bytes.size() <= most ? std::optional(std::move(bytes)) : std::nullopt;
    if (result != LZMA_OK) return std::nullopt;
  }
}

}  // namespace setuvane::archive
