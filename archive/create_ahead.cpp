#include "archive/create_ahead.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace setuvane::archive {
namespace {

// A file made ahead and not wanted after all: it was new and empty, so it goes.
void Discard(FileSystem& disk, std::unique_ptr<WritableFile> file, const std::string& path) {
  try {
    file->Close();
  } catch (const std::exception&) {
    // Removed all the same below.
  }
  file.reset();
  disk.Remove(path);
}

}  // namespace

bool CreateAheadByDefault() {
  static const bool on = [] {
    const char* forced = std::getenv("SETUVANE_CREATE_AHEAD");
    return forced == nullptr || forced[0] != '0';
  }();
  return on;
}

CreateAhead::CreateAhead(FileSystem& disk, std::vector<std::string> targets, size_t most)
    : disk_(disk), targets_(std::move(targets)), most_(std::max<size_t>(most, 1)), allowed_(targets_.size(), false) {
  thread_ = std::make_unique<WorkerThread>([this] { Work(); });
  if (!thread_->Started()) throw std::runtime_error("no thread to create files on");
}

CreateAhead::~CreateAhead() {
  {
    WorkerLockHeld held(lock_);
    stop_ = true;
    threadWaits_ = true;  // woken whether it waits or not: it sees stop_ either way
    WakeThread();
  }
  thread_.reset();
  WorkerLockHeld held(lock_);
  DropBefore(SIZE_MAX);
}

void CreateAhead::Allow(size_t position) {
  if (position >= targets_.size()) return;
  WorkerLockHeld held(lock_);
  allowed_[position] = true;
  WakeThread();
}

// A signal costs a call into the system (under Wine, into its server): it is
// given only when the thread waits for one, and for the caller's progress only
// once that lets it go on.
void CreateAhead::WakeThread() {
  if (!threadWaits_) return;
  threadWaits_ = false;
  progress_.Set();
}

void CreateAhead::Work() {
  for (size_t position = 0;; ++position) {
    {
      WorkerLockHeld held(lock_);
      for (;;) {
        if (stop_) return;
        position = std::max(position, taken_);
        if (position >= targets_.size()) return;
        if (targets_[position].empty()) {
          ++position;
          continue;
        }
        if (allowed_[position] && position < taken_ + most_) break;
        // Woken once half the files made are taken; one not allowed yet, by its
        // allowance or when the caller passes it.
        wakeAt_ = allowed_[position] ? position + 1 - (most_ + 1) / 2 : position + 1;
        threadWaits_ = true;
        WorkerLockReleased released(held);
        progress_.Wait();
      }
      working_ = position;
    }
    std::unique_ptr<WritableFile> file;
    try {
      file = disk_.CreateNew(targets_[position]);
    } catch (const std::exception&) {
      // Left to the caller, whose own try tells what is wrong.
    }
    WorkerLockHeld held(lock_);
    working_ = SIZE_MAX;
    const bool made = file != nullptr;
    if (made && position < taken_) Discard(disk_, std::move(file), targets_[position]);  // passed meanwhile
    else if (made) files_[position] = std::move(file);
    if (callerWaits_) {
      callerWaits_ = false;
      made_.Set();
    }
    // The caller makes this one, after whatever it needs first (its folder):
    // the files after it wait for that.
    while (!made && !stop_ && taken_ <= position) {
      wakeAt_ = position + 1;
      threadWaits_ = true;
      WorkerLockReleased released(held);
      progress_.Wait();
    }
  }
}

std::unique_ptr<WritableFile> CreateAhead::Take(const std::string& path) {
  std::unique_ptr<WritableFile> file;
  {
    WorkerLockHeld held(lock_);
    size_t position = taken_;
    while (position < targets_.size() && targets_[position] != path) ++position;
    if (position == targets_.size()) return nullptr;
    while (working_ == position) {
      callerWaits_ = true;
      WorkerLockReleased released(held);
      made_.Wait();
    }
    taken_ = position + 1;
    DropBefore(position);
    const auto found = files_.find(position);
    if (found != files_.end()) {
      file = std::move(found->second);
      files_.erase(found);
    }
    if (taken_ >= wakeAt_) WakeThread();
  }
  return file;
}

void CreateAhead::DropBefore(size_t position) {
  while (!files_.empty() && files_.begin()->first < position) {
    const auto first = files_.begin();
    Discard(disk_, std::move(first->second), targets_[first->first]);
    files_.erase(first);
  }
}

}  // namespace setuvane::archive
