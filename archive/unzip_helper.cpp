#include "archive/unzip_helper.h"

#include <algorithm>
#include <vector>

#include "archive/decoders.h"
#include "archive/entry_source.h"
#include "archive/exceptions.h"

namespace setuvane::archive {
namespace {

enum Method : uint16_t { kStored = 0, kShrunk = 1, kReducedFirst = 2, kReducedLast = 5, kImploded = 6, kDeflated = 8 };

void Copy(ByteSource& input, ByteSink& output, std::vector<uint8_t>& chunk) {
  if (chunk.size() < 4 * EntrySource::kBufferSize) chunk.resize(4 * EntrySource::kBufferSize);
  for (size_t n; (n = input.Read(chunk.data(), chunk.size())) > 0;) output.Write(chunk.data(), n);
}

}  // namespace

TAbUnzipHelper::TAbUnzipHelper(ReadableFile& archive, const EntryData& entry, TAbZDecoder* decoder,
                               WritableFile& target, OutputSink::ProgressHandler progress,
                               ExtractionBuffers& buffers)
    : archive_(archive), entry_(entry), decoder_(decoder), target_(target), progress_(std::move(progress)),
      buffers_(buffers) {}

uint32_t TAbUnzipHelper::DecodeEntry() {
  int64_t offset = entry_.offset;
  uint32_t toRead = entry_.compressedSize;
  if (decoder_ != nullptr) {
    decoder_->CheckPassword(archive_, offset);
    offset += TAbZDecoder::kHeaderSize;
    toRead = toRead > TAbZDecoder::kHeaderSize ? toRead - uint32_t(TAbZDecoder::kHeaderSize) : 0;
  }
  EntrySource input(archive_, offset, toRead, decoder_, buffers_.input);
  return DecodeFrom(input);
}

uint32_t TAbUnzipHelper::DecodeFrom(ByteSource& input) {
  const uint16_t method = entry_.compressionMethod;
  const bool stored = method == kStored;
  OutputSink output(target_, entry_.uncompressedSize, stored ? kStoredProgressStep : kOutputProgressStep,
                    progress_, buffers_.output);
  if (stored) {
    Copy(input, output, buffers_.copy);
  } else if (method == kShrunk) {
    Unshrink(input, output);
  } else if (method >= kReducedFirst && method <= kReducedLast) {
    Expand(input, output, method - 1, entry_.uncompressedSize);
  } else if (method == kImploded) {
    const uint16_t flags = entry_.generalPurposeBitFlag;
    Explode(input, output, (flags & 0x0002) != 0, (flags & 0x0004) != 0, entry_.uncompressedSize);
  } else if (method == kDeflated) {
    Inflate(input, output);
  } else {
    throw EAbZipInvalidMethod();
  }
  output.Finish();
  written_ = output.Written();
  return output.Crc();
}

}  // namespace setuvane::archive
