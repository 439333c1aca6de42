#include "archive/decode_ahead.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>

#include "archive/target_path.h"

namespace setuvane::archive {
namespace {

// A worker that waits for room is woken once this much (or a quarter of the ring) is
// free, not for every byte.
constexpr uint64_t kRefillBytes = uint64_t(1) << 20;

}  // namespace

bool DecodeAheadByDefault() {
  static const bool on = [] {
    if (!SecondThreadAllowed()) return false;
    if (const char* forced = std::getenv("SETUVANE_DECODE_AHEAD")) {
      if (forced[0] == '0') return false;
      if (forced[0] == '1') return true;
    }
    return ProcessorsAvailable() >= 2;
  }();
  return on;
}

DecodeAhead::DecodeAhead(TAbZipArchive& archive, const std::vector<int>& entries, size_t memory,
                         DecodeAheadShare share)
    : password_(archive.Password), retries_(archive.PasswordRetries), share_(share), blockSize_(0), capacity_(0) {
  if (!SecondThreadAllowed()) return;  // the caller decodes every entry itself
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
  {
    WorkerLockHeld held(lock_);
    stop_ = true;
  }
  roomMade_.Set();
  thread_->Join();
}

uint8_t* DecodeAhead::At(uint64_t ringPosition) const {
  return blocks_[(ringPosition / blockSize_) % blocks_.size()].get() + ringPosition % blockSize_;
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

  // The worker is woken only once the lock is left.
  bool wake = false;
  bool decoded = false;
  const bool reached = [&] {
    WorkerLockHeld held(lock_);
    if ((plan_[position].facts.encrypted && !samePassword) || !sameNameRule) {
      // Decoded with another password than the one the caller would use, or its name
      // checked under another rule: every entry from here on is the caller's.
      stop_ = true;
      passed_ = INT_MAX;
      DropBefore(INT_MAX);
      wake = true;
      return false;
    }
    passed_ = std::max(passed_, position - 1);
    PassedThrough(position);  // its work is under way: it no longer covers the worker's
    DropBefore(position);
    while (records_.empty() || records_.front().position != position) {
      // Stopped before reaching the entry (or past it, which the order rules out).
      if ((workerDone_ && records_.empty()) || (!records_.empty() && records_.front().position > position)) {
        return false;
      }
      WaitForRecords(held);
      DropBefore(position);
    }
    if (records_.front().kind == Kind::kNeedsCaller) {
      records_.pop_front();
      return false;
    }
    decoded = records_.front().decoded;
    wake = WorkerNeeded();
    return true;
  }();
  if (wake) roomMade_.Set();
  if (!reached) return nullptr;
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

// Waits, with the lock `held` let go meanwhile, until the worker adds records; wakes
// the worker first when it waits for room, which the caller may have made.
void DecodeAhead::WaitForRecords(WorkerLockHeld& held) {
  callerWaits_ = true;
  const bool wake = workerWaits_;
  {
    WorkerLockReleased released(held);
    if (wake) roomMade_.Set();
    recordsAdded_.Wait();
  }
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
  bool wake = false;
  Record record = [&] {
    WorkerLockHeld held(lock_);
    consumed_ = std::max(consumed_, release);
    while (records_.empty() || records_.front().position != position) {
      // Every entry handed out ends in a record of its end or failure; only running
      // out of memory stops the worker short of it.
      if (workerDone_ && records_.empty()) throw std::bad_alloc();
      WaitForRecords(held);
    }
    Record next = std::move(records_.front());
    records_.pop_front();
    wake = WorkerNeeded();
    return next;
  }();
  if (wake) roomMade_.Set();
  return record;
}

void DecodeAhead::Release(int position, uint64_t release, bool finished) {
  bool wake = false;
  {
    WorkerLockHeld held(lock_);
    consumed_ = std::max(consumed_, release);
    PassedThrough(position);
    if (!finished) {
      passed_ = std::max(passed_, position);
      DropBefore(position + 1);
    }
    wake = WorkerNeeded();
  }
  if (wake) roomMade_.Set();
}

}  // namespace setuvane::archive
