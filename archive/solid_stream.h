// The decoded bytes of a solid package's stream, read as a file. The stream is
// one .xz stream (decoded by xz-utils' liblzma) across the package's index and all
// its files; it is decoded forward as it is read, so reading it from start to end
// decodes it once. A read behind the last byte decoded starts again from the start
// (listing, or extracting entries out of order); a read ahead of it decodes and
// drops the bytes in between.
//
// A stream of two blocks (the package tool puts x86 programs in a block of their
// own) may be read as two parts, each with a decoder of its own: the first block
// decoded from the stream's start, the second from its own header on. Reads may
// then go back and forth between the blocks, each decoded forward, which lets an
// installation take a program, then some text files, then the next program, ...
// On two processors the second part is decoded on a thread of its own, ahead of
// its reads (archive/decoding_thread.h), while the reader decodes the first.
//
// A decoder may take at most kMemoryLimit bytes (its dictionary, mostly): a
// stream that needs more is refused as damaged, so that a crafted package cannot
// make the installer allocate more than the machines it runs on have. Bytes that
// do not decode, and a stream that ends before its decoded size, fail the read
// with EAbSolidDamaged.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "archive/decoding_thread.h"
#include "archive/file_system.h"
#include "archive/worker_thread.h"

namespace setuvane::archive {

// Where the second of a stream's two blocks begins: in the stream's bytes (at its
// header) and in the decoded bytes.
struct SecondBlock {
  int64_t streamOffset = 0;
  int64_t decodedOffset = 0;
  uint8_t check = 0;  // the stream's check (liblzma's lzma_check), which its blocks end with
};

// The second block of the `streamSize`-byte .xz stream at `streamOffset` of `raw`,
// read from the stream's index; nullopt when the stream has not exactly two blocks
// or its end does not read as an index of them (the stream is then read in one
// part, and whatever is damaged shows as it decodes).
std::optional<SecondBlock> FindSecondBlock(ReadableFile& raw, int64_t streamOffset, int64_t streamSize);

class SolidStream final : public ReadableFile {
 public:
  static constexpr uint64_t kMemoryLimit = uint64_t(16) << 20;

  // The stream is the `streamSize` bytes of `raw` from `streamOffset` on, and
  // decodes to `decodedSize` bytes; given `second`, it is read in two parts.
  SolidStream(std::unique_ptr<ReadableFile> raw, int64_t streamOffset, int64_t streamSize, int64_t decodedSize,
              std::optional<SecondBlock> second = std::nullopt);
  ~SolidStream() override;

  int64_t Size() const override { return decodedSize_; }
  size_t ReadAt(int64_t offset, uint8_t* buffer, size_t length) override;
  // Gives the decoders' memory back; the next read decodes from the start again.
  void Rest();
  // Rests, and reads the stream in two parts from now on (in one without `second`).
  void ReadInParts(std::optional<SecondBlock> second);

  struct Decoder;  // liblzma's state

 private:
  // One part of the decoded bytes and the decoder that makes them.
  struct Part {
    int64_t streamStart = 0, decodedStart = 0, decodedEnd = 0;
    bool ownBlock = false;              // decoded from a block header (else from the stream's)
    std::unique_ptr<Decoder> decoder;   // none until the first read, and after Rest
    int64_t position = 0;               // decoded offset of the next byte it gives
    int64_t consumed = 0;               // stream bytes read so far, from streamStart
    std::vector<uint8_t> input;         // stream bytes read and not decoded yet
    std::unique_ptr<DecodingThread> ahead;  // decodes it on a thread of its own; last: it stops first
  };
  void Restart(Part& part);
  void StartBlockDecoder(Part& part);
  // Reads the stream's bytes from `at` on; the two parts' decoders may run on two
  // threads, so every read of raw_ goes through here.
  size_t ReadRaw(int64_t at, uint8_t* buffer, size_t length);
  void FillInput(Part& part);
  // Gives the next `length` bytes of `part` into `buffer` (all of them, or throws).
  void Decode(Part& part, uint8_t* buffer, size_t length);
  // Decodes them with the part's decoder, on whichever thread decodes the part.
  void Produce(Part& part, uint8_t* buffer, size_t length);

  std::unique_ptr<ReadableFile> raw_;
  WorkerLock rawLock_;  // held by ReadRaw
  int64_t streamOffset_, streamSize_, decodedSize_;
  std::vector<Part> parts_;
  uint8_t check_ = 0;             // of the stream, which the second part's block ends with
  std::vector<uint8_t> skipped_;  // bytes decoded on the way to a later offset
};

// The bytes of a whole .xz stream held in memory (a packed program), at most
// `most` of them, decoded within the same memory limit; nullopt when they do not
// decode or are more.
std::optional<std::vector<uint8_t>> UnpackXz(const std::vector<uint8_t>& packed, size_t most);

}  // namespace setuvane::archive
