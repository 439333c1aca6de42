#include "archive/decoding_thread.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace setuvane::archive {
namespace {

// The thread decodes at most this much at a time, so that a reader waiting for the
// first bytes does not wait long and a stop is soon seen.
constexpr size_t kPiece = 64 * 1024;

}  // namespace

bool DecodingThread::Worthwhile() { return SecondThreadAllowed() && ProcessorsAvailable() >= 2; }

DecodingThread::DecodingThread(Decode decode, uint64_t total, size_t memory)
    : decode_(std::move(decode)), total_(total), capacity_(std::max(memory, kPiece)),
      ring_(new uint8_t[capacity_]) {
  thread_ = std::make_unique<WorkerThread>([this] { Work(); });
  if (!thread_->Started()) throw std::runtime_error("no thread to decode on");
}

DecodingThread::~DecodingThread() {
  {
    WorkerLockHeld held(lock_);
    stop_ = true;
  }
  roomMade_.Set();
  thread_.reset();
}

void DecodingThread::Work() {
  uint64_t produced = 0;  // this thread's copy of produced_
  while (produced < total_) {
    size_t room = 0;
    {
      WorkerLockHeld held(lock_);
      for (;;) {
        if (stop_) return;
        room = capacity_ - size_t(produced - consumed_);
        if (room > 0) break;
        threadWaits_ = true;
        WorkerLockReleased released(held);
        roomMade_.Wait();
      }
      threadWaits_ = false;
    }
    // Into the free bytes up to the ring's end: the reader never touches them.
    const size_t at = size_t(produced % capacity_);
    const size_t length = size_t(std::min<uint64_t>({room, capacity_ - at, kPiece, total_ - produced}));
    std::exception_ptr failure;
    try {
      decode_(ring_.get() + at, length);
    } catch (...) {
      failure = std::current_exception();
    }
    WorkerLockHeld held(lock_);
    if (failure) {
      failure_ = failure;
    } else {
      produced += length;
      produced_ = produced;
    }
    if (readerWaits_) bytesAdded_.Set();
    if (failure) return;
  }
}

void DecodingThread::Take(uint8_t* buffer, size_t length) {
  while (length > 0) {
    uint64_t consumed = 0;
    size_t available = 0;
    {
      WorkerLockHeld held(lock_);
      for (;;) {
        available = size_t(std::min<uint64_t>(produced_ - consumed_, length));
        if (available > 0) break;
        if (failure_) std::rethrow_exception(failure_);
        readerWaits_ = true;
        WorkerLockReleased released(held);
        bytesAdded_.Wait();
      }
      readerWaits_ = false;
      consumed = consumed_;
    }
    // The bytes up to produced_ stay as they are until they are released below.
    const size_t at = size_t(consumed % capacity_);
    const size_t piece = std::min(available, capacity_ - at);
    std::memcpy(buffer, ring_.get() + at, piece);
    buffer += piece;
    length -= piece;
    WorkerLockHeld held(lock_);
    consumed_ += piece;
    if (threadWaits_) roomMade_.Set();
  }
}

}  // namespace setuvane::archive
