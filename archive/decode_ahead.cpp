#include "archive/decode_ahead.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "archive/entry_source.h"
#include "archive/exceptions.h"
#include "archive/target_path.h"

namespace setuvane::archive {
namespace {

// The ring is made of blocks, so that no single large allocation is needed; a piece
// of decoded data never crosses a block's end.
constexpr size_t kBlockSize = size_t(1) << 20;
// Decoded bytes are handed over in batches of about this size (and at each entry's
// end), so that small entries cost one hand-over each.
constexpr uint64_t kPublishBytes = 256 * 1024;
constexpr size_t kPublishRecords = 256;
// A worker that waits for room is woken once this much (or a quarter of the ring) is
// free, not for every byte.
constexpr uint64_t kRefillBytes = uint64_t(1) << 20;
// The caller's waiting work (in bytes written) above which the worker decodes the
// next entry itself, and what a file costs the caller besides its bytes.
constexpr uint64_t kBacklogToDecode = uint64_t(1) << 20;
constexpr uint64_t kFileWork = 32 * 1024;
constexpr uint64_t kDecodeWork = 4;
// Records waiting for the caller, at most: entries of no bytes take no ring room.
constexpr size_t kMostRecords = 65536;

}  // namespace

bool DecodeAheadByDefault() {
  static const bool on = [] {
    if (const char* forced = std::getenv("SETUVANE_DECODE_AHEAD")) {
      if (forced[0] == '0') return false;
      if (forced[0] == '1') return true;
    }
    return ProcessorsAvailable() >= 2;
  }();
  return on;
}

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

DecodeAhead::DecodeAhead(TAbZipArchive& archive, const std::vector<int>& entries, size_t memory,
                         DecodeAheadShare share)
    : password_(archive.Password), retries_(archive.PasswordRetries), share_(share), blockSize_(0), capacity_(0) {
  int last = -1;
  for (const int index : entries) {
    if (index <= last || index >= archive.Count()) continue;
    last = index;
    const TAbZipItem& item = archive.ItemAt(index);
    plan_.push_back({&item, EntryFacts::Of(archive, item), IsFolderName(item.StoredName())});
  }
  if (plan_.empty()) return;
  work_.assign(plan_.size(), 0);
  // No more ring than the planned entries can fill (a few small setup files need
  // little), but enough for big pieces.
  uint64_t fill = 64 * 1024;
  for (const Planned& planned : plan_) fill += std::max(planned.facts.compressedSize, planned.facts.uncompressedSize);
  memory = size_t(std::min<uint64_t>(memory, fill));
  blockSize_ = std::min(kBlockSize, std::max<size_t>(memory, 4096));
  // Pages of the ring are touched only as decoded bytes reach them.
  for (size_t i = 0; i < std::max<size_t>(memory / blockSize_, 1); ++i) {
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[blockSize_]);
    if (!block) break;
    blocks_.push_back(std::move(block));
  }
  capacity_ = uint64_t(blocks_.size()) * blockSize_;
  refill_ = std::max<uint64_t>(std::min<uint64_t>(capacity_ / 4, kRefillBytes), 1);
  if (blocks_.empty()) return;
  try {
    file_ = archive.OpenStreamAgain();
  } catch (const std::exception&) {
    return;  // the caller decodes every entry itself
  }
  thread_ = std::make_unique<WorkerThread>([this] { Work(); });
  if (!thread_->Started()) thread_.reset();
}

DecodeAhead::~DecodeAhead() {
  if (!thread_) return;
  lock_.Enter();
  stop_ = true;
  lock_.Leave();
  roomMade_.Set();
  thread_->Join();
}

uint8_t* DecodeAhead::At(uint64_t ringPosition) const {
  return blocks_[(ringPosition / blockSize_) % blocks_.size()].get() + ringPosition % blockSize_;
}

// ---- The worker's side ----

void DecodeAhead::Work() {
  try {
    for (int position = 0; position < int(plan_.size()); ++position) {
      if (!DecodeOne(position)) break;
    }
  } catch (...) {
    // Out of memory for a record: the caller decodes what is left itself.
  }
  lock_.Enter();
  workerDone_ = true;
  const bool wake = callerWaits_;
  lock_.Leave();
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
    if (abandoned) return true;
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
  written_ += length;  // before Add, which may publish what is written
  pendingBytes_ += length;
  if (last != nullptr && last->kind == Kind::kData && last->start + last->length == start && start % blockSize_ != 0) {
    last->length += uint32_t(length);
  } else {
    Record record{position, Kind::kData};
    record.start = start;
    record.length = uint32_t(length);
    Add(std::move(record));
  }
}

void DecodeAhead::Add(Record record) {
  record.decoded = entryDecoded_;
  pending_.push_back(std::move(record));
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
  for (Record& record : pending_) records_.push_back(std::move(record));
  pending_.clear();
  pendingBytes_ = 0;
  published_ = written_;
  return callerWaits_;
}

void DecodeAhead::Publish() {
  lock_.Enter();
  const bool wake = PublishHeld();
  lock_.Leave();
  if (wake) recordsAdded_.Set();
}

// Waits until a record (and, `forBytes`, a byte of the ring) is free and returns the
// free bytes; throws AbandonedEntry when the entry was given up or decoding ahead
// stops.
uint64_t DecodeAhead::WaitForRoom(int position, bool forBytes) {
  lock_.Enter();
  for (;;) {
    if (stop_ || position <= passed_) {
      lock_.Leave();
      throw AbandonedEntry{};
    }
    if ((!forBytes || written_ - consumed_ < capacity_) && records_.size() < kMostRecords) break;
    // What waits must reach the caller before the worker waits for the caller.
    const bool wake = PublishHeld();
    workerWaits_ = true;
    waitingAt_ = position;
    lock_.Leave();
    if (wake) recordsAdded_.Set();
    roomMade_.Wait();
    lock_.Enter();
    workerWaits_ = false;
  }
  const uint64_t free = capacity_ - (written_ - consumed_);
  lock_.Leave();
  return free;
}

uint8_t* DecodeAhead::Room(int position, size_t& length) {
  const uint64_t free = WaitForRoom(position, true);
  const uint64_t inBlock = blockSize_ - written_ % blockSize_;
  length = size_t(std::min<uint64_t>({length, free, inBlock}));
  return At(written_);
}

// ---- The caller's side ----

std::unique_ptr<AheadEntry> DecodeAhead::Take(const TAbZipArchive& archive, const TAbZipItem& item) {
  if (!thread_) return nullptr;
  int position = -1;
  for (int p = cursor_; p < int(plan_.size()); ++p) {
    if (plan_[p].item == &item) {
      position = p;
      break;
    }
  }
  if (position < 0) return nullptr;
  cursor_ = position + 1;
  const bool samePassword = archive.Password == password_ && (archive.PasswordRetries == 0) == (retries_ == 0);
  const bool sameNameRule = plan_[position].facts.restorePath == ((archive.ExtractOptions() & eoRestorePath) != 0);

  lock_.Enter();
  if ((plan_[position].facts.encrypted && !samePassword) || !sameNameRule) {
    // Decoded with another password than the one the caller would use, or its name
    // checked under another rule: every entry from here on is the caller's.
    stop_ = true;
    passed_ = INT_MAX;
    DropBefore(INT_MAX);
    lock_.Leave();
    roomMade_.Set();
    return nullptr;
  }
  passed_ = std::max(passed_, position - 1);
  PassedThrough(position);  // its work is under way: it no longer covers the worker's
  DropBefore(position);
  while (records_.empty() || records_.front().position != position) {
    // Stopped before reaching the entry (or past it, which the order rules out).
    if ((workerDone_ && records_.empty()) || (!records_.empty() && records_.front().position > position)) {
      lock_.Leave();
      return nullptr;
    }
    WaitForRecords();
    DropBefore(position);
  }
  if (records_.front().kind == Kind::kNeedsCaller) {
    records_.pop_front();
    lock_.Leave();
    return nullptr;
  }
  const bool decoded = records_.front().decoded;
  const bool wake = WorkerNeeded();
  lock_.Leave();
  if (wake) roomMade_.Set();
  return std::unique_ptr<AheadEntry>(new AheadEntry(*this, position, decoded));
}

// Whether the waiting worker has reason to go on: its entry was given up, or a good
// part of the ring is free again. Waking it for every record written would cost the
// caller a system call each time while the worker is ahead.
bool DecodeAhead::WorkerNeeded() const {
  if (!workerWaits_) return false;
  if (stop_ || waitingAt_ <= passed_) return true;
  // written_ stays put while the worker waits.
  return capacity_ - (written_ - consumed_) >= refill_ && records_.size() <= kMostRecords / 2;
}

// Waits, holding lock_ before and after, until the worker adds records; wakes the
// worker first when it waits for room, which the caller may have made.
void DecodeAhead::WaitForRecords() {
  callerWaits_ = true;
  const bool wake = workerWaits_;
  lock_.Leave();
  if (wake) roomMade_.Set();
  recordsAdded_.Wait();
  lock_.Enter();
  callerWaits_ = false;
}

// Drops the records of positions before `position`, with their bytes.
void DecodeAhead::DropBefore(int position) {
  while (!records_.empty() && records_.front().position < position) {
    const Record& front = records_.front();
    if (front.kind == Kind::kData) consumed_ = std::max(consumed_, front.start + front.length);
    records_.pop_front();
  }
}

// Marks the ring up to `release` as written and takes the entry's next record,
// waiting for the worker to make it.
DecodeAhead::Record DecodeAhead::Next(int position, uint64_t release) {
  lock_.Enter();
  consumed_ = std::max(consumed_, release);
  while (records_.empty() || records_.front().position != position) {
    // Every entry handed out ends in a record of its end or failure; only running
    // out of memory stops the worker short of it.
    if (workerDone_ && records_.empty()) {
      lock_.Leave();
      throw std::bad_alloc();
    }
    WaitForRecords();
  }
  Record record = std::move(records_.front());
  records_.pop_front();
  const bool wake = WorkerNeeded();
  lock_.Leave();
  if (wake) roomMade_.Set();
  return record;
}

void DecodeAhead::Release(int position, uint64_t release, bool finished) {
  lock_.Enter();
  consumed_ = std::max(consumed_, release);
  PassedThrough(position);
  if (!finished) {
    passed_ = std::max(passed_, position);
    DropBefore(position + 1);
  }
  const bool wake = WorkerNeeded();
  lock_.Leave();
  if (wake) roomMade_.Set();
}

AheadEntry::~AheadEntry() { owner_.Release(position_, done_, finished_); }

void AheadEntry::ThrowEarlyFailure() {
  owner_.lock_.Enter();
  DecodeAhead::Record& front = owner_.records_.front();  // Take saw the entry's first record
  if (front.kind != DecodeAhead::Kind::kFailedEarly) {
    owner_.lock_.Leave();
    return;
  }
  const std::exception_ptr failure = front.failure;
  owner_.records_.pop_front();
  owner_.lock_.Leave();
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
