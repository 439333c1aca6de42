// The worker's side of decoding ahead: its loop over the planned entries, the
// share of the work it takes on, and the ring it fills.
#include "archive/decode_ahead.h"

#include <algorithm>
#include <cstring>

#include "archive/entry_source.h"
#include "archive/exceptions.h"

namespace setuvane::archive {
namespace {

// Decoded bytes are handed over in batches of about this size (and at each entry's
// end), so that small entries cost one hand-over each.
constexpr uint64_t kPublishBytes = 256 * 1024;
constexpr size_t kPublishRecords = 256;
// The caller's waiting work (in bytes written) above which the worker decodes the
// next entry itself, and what a file costs the caller besides its bytes.
constexpr uint64_t kBacklogToDecode = uint64_t(1) << 20;
constexpr uint64_t kFileWork = 32 * 1024;
constexpr uint64_t kDecodeWork = 4;

}  // namespace

// The target of the worker's output sink: decoded bytes go into the ring.
class DecodeAhead::RingSink final : public WritableFile {
 public:
  RingSink(DecodeAhead& owner, int position) : owner_(owner), position_(position) {}

  void Write(const uint8_t* data, size_t length) override {
    while (length > 0) {
      size_t piece = length;
      uint8_t* to = owner_.Room(position_, piece);  // narrows piece to the room there is
      std::memcpy(to, data, piece);
      owner_.Wrote(position_, piece);
      data += piece;
      length -= piece;
    }
    if (owner_.pendingBytes_ >= kPublishBytes) owner_.Publish();
  }
  bool SetModificationTime(uint16_t, uint16_t) override { return true; }
  void Close() override {}

 private:
  DecodeAhead& owner_;
  int position_;
};

void DecodeAhead::Work() {
  try {
    for (int position = 0; position < int(plan_.size()); ++position) {
      if (!DecodeOne(position)) break;
    }
  } catch (...) {
    // Out of memory for a record: the caller decodes what is left itself.
  }
  bool wake = false;
  {
    WorkerLockHeld held(lock_);
    workerDone_ = true;
    wake = callerWaits_;
  }
  if (wake) recordsAdded_.Set();
}

bool DecodeAhead::DecodeOne(int position) {
  const Planned& planned = plan_[position];
  std::unique_ptr<TAbZDecoder> decoder;
  // Failures are handed over only once their handlers are left, so that the
  // caller's thread holds the last reference to what was thrown.
  Kind end = Kind::kEnd;
  std::exception_ptr failure;
  bool abandoned = false;
  try {
    WaitForRoom(position, false);
    entryDecoded_ = WorkerDecodes(position);
    int64_t dataOffset = 0;
    try {
      dataOffset = LocateData(*file_, planned.facts);
    } catch (const AbandonedEntry&) {
      throw;
    } catch (...) {
      end = Kind::kFailedEarly;
      failure = std::current_exception();
    }
    if (end == Kind::kEnd && !planned.folder) {
      if (planned.facts.encrypted) {
        // Without retries decoding on the spot refuses the entry unasked; leave
        // that, as any password trouble, to it.
        if (retries_ == 0) throw EAbZipInvalidPassword();
        decoder = MakeEntryDecoder(planned.facts, password_, 1);
      }
      if (entryDecoded_) {
        RingSink sink(*this, position);
        DecodeChecked(
            *file_, planned.facts, decoder.get(), dataOffset, sink,
            [this, position](uint8_t percent) {
              Record progress{position, Kind::kProgress};
              progress.percent = percent;
              Add(std::move(progress));
            },
            buffers_);
      } else {
        ReadOnly(position, planned.facts, dataOffset, decoder.get());
      }
    }
  } catch (const AbandonedEntry&) {
    abandoned = true;
  } catch (const EAbZipInvalidPassword&) {
    // The password check comes before any output. Decoding on the spot asks the
    // owner for another password now, and the answer may change every later entry.
    end = Kind::kNeedsCaller;
  } catch (...) {
    end = Kind::kFailed;
    failure = std::current_exception();
  }
  if (abandoned || end == Kind::kNeedsCaller) {  // what the entry made is not wanted
    pending_.clear();
    pendingBytes_ = 0;
    written_ = published_;
  }
  if (abandoned) {  // given up by the caller, or all of decoding ahead stops
    WorkerLockHeld held(lock_);
    return !stop_;
  }
  Record last{position, end};
  last.failure = std::move(failure);
  last.decoder = std::move(decoder);
  Add(std::move(last));
  Publish();
  if (end == Kind::kNeedsCaller) return false;
  Prepared(position, entryDecoded_);
  return true;
}

// Whether the worker decodes the entry it starts, or only reads it: it decodes while
// the caller has enough prepared work waiting to stay busy meanwhile (the caller is
// the slower one, writing files), and leaves the decoding to the caller when the
// caller is about to catch up with it. The caller's waiting work is estimated from
// the sizes of the entries prepared whole and not begun: decoding an entry costs it
// about twice as much as writing it, and each file has a cost of its own.
bool DecodeAhead::WorkerDecodes(int position) {
  if (share_ != DecodeAheadShare::kBalanced) return share_ == DecodeAheadShare::kWorkerDecodes;
  // Decoding the entry costs the worker a few times what writing it costs the caller.
  const uint64_t cost = kDecodeWork * plan_[position].facts.uncompressedSize;
  WorkerLockHeld held(lock_);
  return backlog_ >= std::max(kBacklogToDecode, cost);
}

// The entry at `position` is prepared whole: the caller's work for it joins the
// backlog, unless the caller is past it already.
void DecodeAhead::Prepared(int position, bool decoded) {
  const EntryFacts& facts = plan_[position].facts;
  WorkerLockHeld held(lock_);
  if (position < counted_) return;
  work_[position] = kFileWork + uint64_t(facts.uncompressedSize) * (decoded || facts.method == 0 ? 1 : 3);
  backlog_ += work_[position];
}

// The caller is done with the entries up to `position`: their work leaves the backlog.
void DecodeAhead::PassedThrough(int position) {
  for (; counted_ <= position && counted_ < int(work_.size()); ++counted_) {
    backlog_ -= work_[counted_];
    work_[counted_] = 0;
  }
}

// The entry's data read and decrypted into the ring, as decoding on the spot would
// read it.
void DecodeAhead::ReadOnly(int position, const EntryFacts& facts, int64_t dataOffset, TAbZDecoder* decoder) {
  int64_t offset = dataOffset;
  uint32_t toRead = facts.compressedSize;
  if (decoder != nullptr) {
    decoder->CheckPassword(*file_, offset);
    offset += TAbZDecoder::kHeaderSize;
    toRead = toRead > TAbZDecoder::kHeaderSize ? toRead - uint32_t(TAbZDecoder::kHeaderSize) : 0;
  }
  EntrySource input(*file_, offset, toRead, decoder, buffers_.input);
  for (;;) {
    size_t room = kBlockSize;
    uint8_t* to = Room(position, room);
    const size_t got = input.Read(to, room);
    if (got == 0) break;
    Wrote(position, got);
    if (pendingBytes_ >= kPublishBytes) Publish();
  }
}

// Notes `length` bytes written into the ring at written_ as the entry's next data.
void DecodeAhead::Wrote(int position, size_t length) {
  Record* last = pending_.empty() ? nullptr : &pending_.back();
  // A piece that goes on where the last one ended, in the same block, joins it.
  const uint64_t start = written_;
  if (last != nullptr && last->kind == Kind::kData && last->start + last->length == start && start % blockSize_ != 0) {
    last->length += uint32_t(length);
    written_ += length;
    pendingBytes_ += length;
  } else {
    Record record{position, Kind::kData};
    record.start = start;
    record.length = uint32_t(length);
    Add(std::move(record), length);
  }
}

// Adds a record, which holds the next `bytes` of the ring (data), and hands the
// records over once many wait. The ring's bytes count as written only once their
// record is kept: bytes that no record holds would never be freed again.
void DecodeAhead::Add(Record record, size_t bytes) {
  record.decoded = entryDecoded_;
  pending_.push_back(std::move(record));
  written_ += bytes;  // before publishing, which hands over what is written
  pendingBytes_ += bytes;
  if (pending_.size() >= kPublishRecords) Publish();
}

// Hands the pending records over; true when the caller waits for them. Records of
// an entry given up meanwhile are dropped with their bytes instead.
bool DecodeAhead::PublishHeld() {
  if (pending_.empty()) return false;
  if (pending_.front().position <= passed_ || stop_) {
    pending_.clear();
    pendingBytes_ = 0;
    written_ = published_;
    return false;
  }
  // All or nothing: a record that finds no room sends those moved before it back,
  // so that a later hand-over neither loses nor repeats one.
  const size_t before = records_.size();
  try {
    for (Record& record : pending_) records_.push_back(std::move(record));
  } catch (...) {
    while (records_.size() > before) {
      pending_[records_.size() - before - 1] = std::move(records_.back());
      records_.pop_back();
    }
    throw;
  }
  pending_.clear();
  pendingBytes_ = 0;
  published_ = written_;
  return callerWaits_;
}

void DecodeAhead::Publish() {
  bool wake = false;
  {
    WorkerLockHeld held(lock_);
    wake = PublishHeld();
  }
  if (wake) recordsAdded_.Set();
}

// Waits until a record (and, `forBytes`, a byte of the ring) is free and returns the
// free bytes; throws AbandonedEntry when the entry was given up or decoding ahead
// stops.
uint64_t DecodeAhead::WaitForRoom(int position, bool forBytes) {
  WorkerLockHeld held(lock_);
  for (;;) {
    if (stop_ || position <= passed_) throw AbandonedEntry{};
    if ((!forBytes || written_ - consumed_ < capacity_) && records_.size() < kMostRecords) break;
    // What waits must reach the caller before the worker waits for the caller.
    const bool wake = PublishHeld();
    workerWaits_ = true;
    waitingAt_ = position;
    {
      WorkerLockReleased released(held);
      if (wake) recordsAdded_.Set();
      roomMade_.Wait();
    }
    workerWaits_ = false;
  }
  return capacity_ - (written_ - consumed_);
}

uint8_t* DecodeAhead::Room(int position, size_t& length) {
  const uint64_t free = WaitForRoom(position, true);
  const uint64_t inBlock = blockSize_ - written_ % blockSize_;
  length = size_t(std::min<uint64_t>({length, free, inBlock}));
  return At(written_);
}

}  // namespace setuvane::archive
