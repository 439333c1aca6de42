// An entry decoded ahead as the caller's thread takes it: written from the ring
// as the worker decoded it, or decoded here from the bytes the worker read.
#include "archive/decode_ahead.h"

#include <algorithm>
#include <cstring>

namespace setuvane::archive {

// What the worker read of an entry it left to the caller to decode, as the source
// of that decoding.
class AheadEntry::ReadInput final : public ByteSource {
 public:
  ReadInput(AheadEntry& entry, TAbZipItem& item) : entry_(entry), item_(item) {}

  // Takes the entry's first record: a failure before its data is raised here.
  void Start() { TakeRecord(); }

  size_t Read(uint8_t* buffer, size_t capacity) override {
    while (left_ == 0) {
      if (ended_) return 0;
      TakeRecord();
    }
    const size_t n = std::min<size_t>(capacity, left_);
    std::memcpy(buffer, entry_.owner_.At(at_), n);
    at_ += n;
    left_ -= n;
    if (left_ == 0) entry_.done_ = at_;
    return n;
  }

  // Takes the records the decoding did not need, up to the entry's end.
  void Drain() {
    while (!ended_) {
      at_ += left_;
      left_ = 0;
      entry_.done_ = std::max(entry_.done_, at_);
      try {
        TakeRecord();
      } catch (...) {
        // Trouble reading bytes that the decoding never asked for.
      }
    }
  }

 private:
  void TakeRecord() {
    DecodeAhead::Record record = entry_.owner_.Next(entry_.position_, entry_.done_);
    switch (record.kind) {
      case DecodeAhead::Kind::kData:
        at_ = record.start;
        left_ = record.length;
        return;
      case DecodeAhead::Kind::kEnd:
      case DecodeAhead::Kind::kFailed:
        ended_ = true;
        entry_.finished_ = true;
        if (record.decoder) item_.SetDecoder(std::move(record.decoder));
        if (record.failure) std::rethrow_exception(record.failure);
        return;
      default:
        ended_ = true;  // not made for an entry read only
        return;
    }
  }

  AheadEntry& entry_;
  TAbZipItem& item_;
  uint64_t at_ = 0;     // ring position of the next byte
  uint32_t left_ = 0;   // bytes left in the current record
  bool ended_ = false;
};

AheadEntry::~AheadEntry() { owner_.Release(position_, done_, finished_); }

void AheadEntry::ThrowEarlyFailure() {
  std::exception_ptr failure;
  {
    WorkerLockHeld held(owner_.lock_);
    DecodeAhead::Record& front = owner_.records_.front();  // Take saw the entry's first record
    if (front.kind != DecodeAhead::Kind::kFailedEarly) return;
    failure = front.failure;
    owner_.records_.pop_front();
  }
  finished_ = true;
  std::rethrow_exception(failure);
}

void AheadEntry::WriteTo(WritableFile& target, TAbZipArchive& archive, TAbZipItem& item,
                         const OutputSink::ProgressHandler& progress) {
  if (decoded_) {
    WriteDecoded(target, item, progress);
    return;
  }
  // Read only: decoded here as on the spot, from the same bytes. A failure to read
  // the password header comes before anything the decoding could say.
  ReadInput input(*this, item);
  input.Start();
  DecodeChecked(archive.Stream(), owner_.plan_[position_].facts, nullptr, 0, target, progress, archive.Buffers(),
                &input);
  input.Drain();
}

void AheadEntry::WriteDecoded(WritableFile& target, TAbZipItem& item, const OutputSink::ProgressHandler& progress) {
  for (;;) {
    DecodeAhead::Record record = owner_.Next(position_, done_);
    switch (record.kind) {
      case DecodeAhead::Kind::kData:
        target.Write(owner_.At(record.start), record.length);
        done_ = record.start + record.length;
        break;
      case DecodeAhead::Kind::kProgress:
        if (progress) progress(record.percent);
        break;
      case DecodeAhead::Kind::kEnd:
      case DecodeAhead::Kind::kFailed:
        finished_ = true;
        if (record.decoder) item.SetDecoder(std::move(record.decoder));
        if (record.failure) std::rethrow_exception(record.failure);
        return;
      case DecodeAhead::Kind::kFailedEarly:
      case DecodeAhead::Kind::kNeedsCaller:
        return;  // not made after an entry's data
    }
  }
}

}  // namespace setuvane::archive
