// Creating files ahead: while the caller writes one entry, a thread of its own
// creates the target files of the entries after it, as the caller's first step
// would (a new file, never over one that is there), and hands each one over when
// the caller gets to its entry. Making a file costs more than writing a small one
// wherever the system looks a new name up in the whole folder or scans it on
// close; with this the two overlap on two processors. The caller's side is
// otherwise unchanged: it writes, stamps and closes the file and fires every event.
//
// The thread makes only what the caller allows, entry by entry (an installation
// allows the files its uninstall record names and that found nothing in their
// place, so that a run that ends abruptly leaves no file the record does not
// cover), and at most `most` files ahead of the caller. A file it cannot make
// (its folder not made yet, something there) is the caller's to make; the thread
// waits at it until the caller has passed it, its folder made by then. Files made
// and not taken are removed when the object goes.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archive/file_system.h"
#include "archive/worker_thread.h"

namespace setuvane::archive {

// Whether an extraction that decodes ahead creates files ahead too: yes, unless
// the environment variable SETUVANE_CREATE_AHEAD is 0 (for measurements).
bool CreateAheadByDefault();

class CreateAhead {
 public:
  // `targets` are the paths the caller will write, in its order ("" for one not to
  // be made ahead). Throws std::runtime_error when no thread can be started.
  CreateAhead(FileSystem& disk, std::vector<std::string> targets, size_t most);
  ~CreateAhead();
  CreateAhead(const CreateAhead&) = delete;
  CreateAhead& operator=(const CreateAhead&) = delete;

  // Lets the target at `position` (of `targets`) be made.
  void Allow(size_t position);
  // The file made for the caller's next target when that is `path`, or nullptr:
  // the caller makes it itself. Waits while the thread is making it. Targets the
  // caller went past without taking are removed.
  std::unique_ptr<WritableFile> Take(const std::string& path);

 private:
  void Work();
  // Closes and removes the files made before `position` (under lock_).
  void DropBefore(size_t position);
  void WakeThread();  // under lock_

  FileSystem& disk_;
  const std::vector<std::string> targets_;
  const size_t most_;

  // Shared, under lock_.
  WorkerLock lock_;
  WorkerSignal progress_;  // wakes the thread: an allowance, a file taken, a stop
  WorkerSignal made_;      // wakes the caller waiting for the file being made
  std::vector<bool> allowed_;
  std::map<size_t, std::unique_ptr<WritableFile>> files_;  // made, not taken
  size_t taken_ = 0;           // the caller's next position: the thread skips those before it
  size_t working_ = SIZE_MAX;  // the position being made
  bool callerWaits_ = false;
  bool threadWaits_ = false;
  size_t wakeAt_ = 0;  // the caller's position that wakes the waiting thread
  bool stop_ = false;

  std::unique_ptr<WorkerThread> thread_;  // last: it stops before the rest goes
};

}  // namespace setuvane::archive
