// The few thread primitives that decoding ahead needs, and nothing more: one worker
// thread, a lock, and a signal that wakes the one thread waiting for it. Windows gets
// them from the calls every version since Windows 95 has (worker_thread_win32.cpp:
// CreateThread, critical sections, auto-reset events), other systems from the
// standard library (worker_thread_posix.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace setuvane::archive {

// Taken and left only through WorkerLockHeld and WorkerLockReleased, so that a
// throw never leaves it owned.
class WorkerLock {
 public:
  WorkerLock();
  ~WorkerLock();
  WorkerLock(const WorkerLock&) = delete;
  WorkerLock& operator=(const WorkerLock&) = delete;

 private:
  friend class WorkerLockHeld;
  friend class WorkerLockReleased;
  void Enter();
  void Leave();

  struct State;
  std::unique_ptr<State> state_;
};

// Holds a WorkerLock for a scope.
class WorkerLockHeld {
 public:
  explicit WorkerLockHeld(WorkerLock& lock) : lock_(lock) { lock_.Enter(); }
  ~WorkerLockHeld() { lock_.Leave(); }
  WorkerLockHeld(const WorkerLockHeld&) = delete;
  WorkerLockHeld& operator=(const WorkerLockHeld&) = delete;

 private:
  friend class WorkerLockReleased;
  WorkerLock& lock_;
};

// Lets a held lock go for a scope (to wait for the other thread), and takes it
// again at its end.
class WorkerLockReleased {
 public:
  explicit WorkerLockReleased(WorkerLockHeld& held) : lock_(held.lock_) { lock_.Leave(); }
  ~WorkerLockReleased() { lock_.Enter(); }
  WorkerLockReleased(const WorkerLockReleased&) = delete;
  WorkerLockReleased& operator=(const WorkerLockReleased&) = delete;

 private:
  WorkerLock& lock_;
};

// An auto-reset event: Set lets one Wait return, now or at the next call; a Set with
// nobody waiting is kept until someone does. Waiters check their condition in a loop
// around Wait, so a wake-up that finds nothing to do is harmless.
class WorkerSignal {
 public:
  WorkerSignal();
  ~WorkerSignal();
  WorkerSignal(const WorkerSignal&) = delete;
  WorkerSignal& operator=(const WorkerSignal&) = delete;
  void Set();
  void Wait();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A thread running `work` from construction; Join waits for its end. `work` must not
// throw. The destructor joins a thread not joined yet.
class WorkerThread {
 public:
  explicit WorkerThread(std::function<void()> work);
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;
  // False when the system refused to start the thread (`work` then never runs).
  bool Started() const;
  void Join();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The processors this process may run on (at least 1).
int ProcessorsAvailable();

// The machine's physical memory in bytes (0 when it cannot be told).
uint64_t PhysicalMemory();

// Whether a second thread may run in this process: not on Windows 95, 98 and Me
// (worker_thread_win32.cpp says why).
bool SecondThreadAllowed();

}  // namespace setuvane::archive
