// The decoded bytes of a solid package's stream, read as a file. The stream is
// one .xz stream (decoded by xz-utils' liblzma) across the package's index and all
// its files; it is decoded forward as it is read, so reading it from start to end
// decodes it once. A read behind the last byte decoded starts again from the start
// (listing, or extracting entries out of order); a read ahead of it decodes and
// drops the bytes in between.
//
// The decoder may take at most kMemoryLimit bytes (its dictionary, mostly): a
// stream that needs more is refused as damaged, so that a crafted package cannot
// make the installer allocate more than the machines it runs on have. Bytes that
// do not decode, and a stream that ends before its decoded size, fail the read
// with EAbSolidDamaged.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "archive/file_system.h"

namespace setuvane::archive {

class SolidStream final : public ReadableFile {
 public:
  static constexpr uint64_t kMemoryLimit = uint64_t(16) << 20;

  // The stream is the `streamSize` bytes of `raw` from `streamOffset` on, and
  // decodes to `decodedSize` bytes.
  SolidStream(std::unique_ptr<ReadableFile> raw, int64_t streamOffset, int64_t streamSize, int64_t decodedSize);
  ~SolidStream() override;

  int64_t Size() const override { return decodedSize_; }
  size_t ReadAt(int64_t offset, uint8_t* buffer, size_t length) override;
  // Gives the decoder's memory back; the next read decodes from the start again.
  void Rest();

  struct Decoder;  // liblzma's state

 private:
  void Restart();
  // Decodes the next `length` bytes into `buffer` (all of them, or throws).
  void Decode(uint8_t* buffer, size_t length);

  std::unique_ptr<ReadableFile> raw_;
  int64_t streamOffset_, streamSize_, decodedSize_;
  std::unique_ptr<Decoder> decoder_;  // none until the first read, and after Rest
  int64_t position_ = 0;              // decoded bytes produced so far
  int64_t consumed_ = 0;              // stream bytes read so far
  std::vector<uint8_t> input_;        // stream bytes read and not decoded yet
  std::vector<uint8_t> skipped_;      // bytes decoded on the way to a later offset
};

// The bytes of a whole .xz stream held in memory (a packed program), at most
// `most` of them, decoded within the same memory limit; nullopt when they do not
// decode or are more.
std::optional<std::vector<uint8_t>> UnpackXz(const std::vector<uint8_t>& packed, size_t most);

}  // namespace setuvane::archive
