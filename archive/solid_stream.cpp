#include "archive/solid_stream.h"

#include <algorithm>
#include <new>

#include <lzma.h>

#include "archive/exceptions.h"

namespace setuvane::archive {
namespace {

// Stream bytes are read in pieces of this size.
constexpr size_t kInputPiece = 64 * 1024;
// Decoded bytes of the second part that may wait for their reader: what its thread
// decodes while the reader takes files of the first part.
constexpr size_t kSecondPartAhead = size_t(2) << 20;

bool ReadWhole(ReadableFile& file, int64_t offset, uint8_t* buffer, size_t length) {
  return file.ReadAt(offset, buffer, length) == length;
}

}  // namespace

struct SolidStream::Decoder {
  lzma_stream stream = LZMA_STREAM_INIT;
  lzma_block block{};  // of a block decoded alone: its decoder keeps using it to the block's end
  ~Decoder() { lzma_end(&stream); }
};

std::optional<SecondBlock> FindSecondBlock(ReadableFile& raw, int64_t streamOffset, int64_t streamSize) {
  // An index larger than this is no index of two blocks.
  constexpr uint64_t kLargestIndex = 1024;
  if (streamSize < 2 * LZMA_STREAM_HEADER_SIZE) return std::nullopt;
  uint8_t header[LZMA_STREAM_HEADER_SIZE], footer[LZMA_STREAM_HEADER_SIZE];
  lzma_stream_flags headerFlags, footerFlags;
  if (!ReadWhole(raw, streamOffset, header, sizeof header) ||
      !ReadWhole(raw, streamOffset + streamSize - LZMA_STREAM_HEADER_SIZE, footer, sizeof footer) ||
      lzma_stream_header_decode(&headerFlags, header) != LZMA_OK ||
      lzma_stream_footer_decode(&footerFlags, footer) != LZMA_OK ||
      lzma_stream_flags_compare(&headerFlags, &footerFlags) != LZMA_OK ||
      footerFlags.backward_size > kLargestIndex ||
      footerFlags.backward_size > uint64_t(streamSize) - 2 * LZMA_STREAM_HEADER_SIZE) {
    return std::nullopt;
  }
  std::vector<uint8_t> indexBytes(size_t(footerFlags.backward_size));
  if (!ReadWhole(raw, streamOffset + streamSize - LZMA_STREAM_HEADER_SIZE - int64_t(indexBytes.size()),
                 indexBytes.data(), indexBytes.size())) {
    return std::nullopt;
  }
  lzma_index* index = nullptr;
  uint64_t memoryLimit = uint64_t(1) << 20;
  size_t read = 0;
  if (lzma_index_buffer_decode(&index, &memoryLimit, nullptr, indexBytes.data(), &read, indexBytes.size()) !=
      LZMA_OK) {
    return std::nullopt;
  }
  std::unique_ptr<lzma_index, void (*)(lzma_index*)> held(index, [](lzma_index* i) { lzma_index_end(i, nullptr); });
  // Two blocks, and an index that accounts for the stream's every byte.
  if (lzma_index_block_count(index) != 2 || lzma_index_stream_size(index) != uint64_t(streamSize)) {
    return std::nullopt;
  }
  lzma_index_iter iter;
  lzma_index_iter_init(&iter, index);
  if (lzma_index_iter_next(&iter, LZMA_INDEX_ITER_BLOCK) || lzma_index_iter_next(&iter, LZMA_INDEX_ITER_BLOCK)) {
    return std::nullopt;
  }
  return SecondBlock{int64_t(iter.block.compressed_file_offset), int64_t(iter.block.uncompressed_file_offset),
                     uint8_t(footerFlags.check)};
}

SolidStream::SolidStream(std::unique_ptr<ReadableFile> raw, int64_t streamOffset, int64_t streamSize,
                         int64_t decodedSize, std::optional<SecondBlock> second)
    : raw_(std::move(raw)), streamOffset_(streamOffset), streamSize_(streamSize), decodedSize_(decodedSize) {
  ReadInParts(second);
}

SolidStream::~SolidStream() = default;

void SolidStream::ReadInParts(std::optional<SecondBlock> second) {
  if (second && (second->decodedOffset <= 0 || second->decodedOffset >= decodedSize_ ||
                 second->streamOffset <= 0 || second->streamOffset >= streamSize_)) {
    second.reset();
  }
  parts_.clear();
  parts_.resize(second ? 2 : 1);
  parts_[0].decodedEnd = second ? second->decodedOffset : decodedSize_;
  if (second) {
    parts_[1].streamStart = second->streamOffset;
    parts_[1].decodedStart = second->decodedOffset;
    parts_[1].decodedEnd = decodedSize_;
    parts_[1].ownBlock = true;
    check_ = second->check;
  }
  std::vector<uint8_t>().swap(skipped_);
}

void SolidStream::Rest() {
  for (Part& part : parts_) {
    part.ahead.reset();
    part.decoder.reset();
    std::vector<uint8_t>().swap(part.input);
  }
  std::vector<uint8_t>().swap(skipped_);
}

void SolidStream::Restart(Part& part) {
  part.ahead.reset();
  part.decoder.reset();
  part.position = part.decodedStart;
  part.consumed = 0;
  part.input.resize(kInputPiece);
  auto decoder = std::make_unique<Decoder>();
  if (part.ownBlock) {
    part.decoder = std::move(decoder);
    try {
      StartBlockDecoder(part);
    } catch (...) {
      part.decoder.reset();
      throw;
    }
    if (DecodingThread::Worthwhile()) {
      try {
        part.ahead = std::make_unique<DecodingThread>(
            [this, &part](uint8_t* buffer, size_t length) { Produce(part, buffer, length); },
            uint64_t(part.decodedEnd - part.decodedStart), kSecondPartAhead);
      } catch (const std::exception&) {
        // No thread to be had: the reader decodes the part itself.
      }
    }
    return;
  }
  const lzma_ret made = lzma_stream_decoder(&decoder->stream, kMemoryLimit, 0);
  if (made == LZMA_MEM_ERROR) throw std::bad_alloc();
  if (made != LZMA_OK) throw EAbSolidDamaged();
  part.decoder = std::move(decoder);
}

// A block decoded alone begins with its header, which names its filters; the
// decoder they make must fit the same memory limit as the stream's.
void SolidStream::StartBlockDecoder(Part& part) {
  uint8_t header[LZMA_BLOCK_HEADER_SIZE_MAX];
  if (ReadRaw(part.streamStart, header, 1) != 1 || header[0] == 0) throw EAbSolidDamaged();
  lzma_filter filters[LZMA_FILTERS_MAX + 1];
  lzma_block& block = part.decoder->block;
  block.version = 1;
  block.check = lzma_check(check_);
  block.filters = filters;  // read only while the decoder is made
  block.header_size = lzma_block_header_size_decode(header[0]);
  if (int64_t(block.header_size) > streamSize_ - part.streamStart ||
      ReadRaw(part.streamStart, header, block.header_size) != block.header_size ||
      lzma_block_header_decode(&block, nullptr, header) != LZMA_OK) {
    throw EAbSolidDamaged();
  }
  const uint64_t memory = lzma_raw_decoder_memusage(filters);
  const lzma_ret made = memory > kMemoryLimit ? LZMA_MEMLIMIT_ERROR : lzma_block_decoder(&part.decoder->stream, &block);
  lzma_filters_free(filters, nullptr);
  block.filters = nullptr;
  if (made == LZMA_MEM_ERROR) throw std::bad_alloc();
  if (made != LZMA_OK) throw EAbSolidDamaged();
  part.consumed = block.header_size;
}

size_t SolidStream::ReadAt(int64_t offset, uint8_t* buffer, size_t length) {
  if (offset < 0 || offset >= decodedSize_ || length == 0) return 0;
  length = size_t(std::min<int64_t>(int64_t(length), decodedSize_ - offset));
  for (size_t done = 0; done < length;) {
    const int64_t at = offset + int64_t(done);
    Part& part = parts_.size() > 1 && at >= parts_[1].decodedStart ? parts_[1] : parts_[0];
    const size_t piece = size_t(std::min<int64_t>(int64_t(length - done), part.decodedEnd - at));
    if (!part.decoder || at < part.position) Restart(part);
    if (at > part.position && skipped_.empty()) skipped_.resize(kInputPiece);
    while (part.position < at) {
      Decode(part, skipped_.data(), size_t(std::min<int64_t>(int64_t(skipped_.size()), at - part.position)));
    }
    Decode(part, buffer + done, piece);
    done += piece;
  }
  return length;
}

size_t SolidStream::ReadRaw(int64_t at, uint8_t* buffer, size_t length) {
  WorkerLockHeld held(rawLock_);
  return raw_->ReadAt(streamOffset_ + at, buffer, length);
}

void SolidStream::FillInput(Part& part) {
  lzma_stream& stream = part.decoder->stream;
  const int64_t available = streamSize_ - part.streamStart;
  const size_t want = size_t(std::min<int64_t>(int64_t(part.input.size()), available - part.consumed));
  const size_t got = ReadRaw(part.streamStart + part.consumed, part.input.data(), want);
  part.consumed += int64_t(got);
  if (got < want) part.consumed = available;  // the file ends early: what follows is missing
  stream.next_in = part.input.data();
  stream.avail_in = got;
}

void SolidStream::Decode(Part& part, uint8_t* buffer, size_t length) {
  try {
    if (part.ahead) {
      part.ahead->Take(buffer, length);
    } else {
      Produce(part, buffer, length);
    }
  } catch (...) {
    // The next read decodes the part from its start again.
    part.ahead.reset();
    part.decoder.reset();
    throw;
  }
  part.position += int64_t(length);
}

void SolidStream::Produce(Part& part, uint8_t* buffer, size_t length) {
  lzma_stream& stream = part.decoder->stream;
  const int64_t available = streamSize_ - part.streamStart;
  stream.next_out = buffer;
  stream.avail_out = length;
  while (stream.avail_out > 0) {
    if (stream.avail_in == 0 && part.consumed < available) FillInput(part);
    const bool last = part.consumed >= available;
    const size_t before = stream.avail_out + stream.avail_in;
    const lzma_ret result = lzma_code(&stream, last ? LZMA_FINISH : LZMA_RUN);
    if (result == LZMA_MEM_ERROR) throw std::bad_alloc();
    // The stream's (or block's) end before the bytes it should give, or bytes that
    // are no stream (a memory need above the limit among them).
    const bool ended = result == LZMA_STREAM_END && stream.avail_out == 0;
    if (!(result == LZMA_OK || ended) || (last && result == LZMA_OK && stream.avail_out + stream.avail_in == before)) {
      throw EAbSolidDamaged();
    }
  }
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
