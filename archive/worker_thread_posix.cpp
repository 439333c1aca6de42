// The worker thread seam over the standard library, for the native build.
#include <sched.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "archive/worker_thread.h"

namespace setuvane::archive {

struct WorkerLock::State {
  std::mutex mutex;
};

WorkerLock::WorkerLock() : state_(std::make_unique<State>()) {}
WorkerLock::~WorkerLock() = default;
void WorkerLock::Enter() { state_->mutex.lock(); }
void WorkerLock::Leave() { state_->mutex.unlock(); }

struct WorkerSignal::State {
  std::mutex mutex;
  std::condition_variable changed;
  bool set = false;
};

WorkerSignal::WorkerSignal() : state_(std::make_unique<State>()) {}
WorkerSignal::~WorkerSignal() = default;

void WorkerSignal::Set() {
  {
    std::lock_guard<std::mutex> held(state_->mutex);
    state_->set = true;
  }
  state_->changed.notify_one();
}

void WorkerSignal::Wait() {
  std::unique_lock<std::mutex> held(state_->mutex);
  state_->changed.wait(held, [this] { return state_->set; });
  state_->set = false;
}

struct WorkerThread::State {
  std::thread thread;
};

WorkerThread::WorkerThread(std::function<void()> work) : state_(std::make_unique<State>()) {
  try {
    state_->thread = std::thread([work = std::move(work)] {
      try {
        work();
      } catch (...) {
        // The work catches what it throws; nothing may leave a thread.
      }
    });
  } catch (const std::system_error&) {
    // Not started: Started() says so.
  }
}

WorkerThread::~WorkerThread() { Join(); }

bool WorkerThread::Started() const { return state_->thread.joinable(); }

void WorkerThread::Join() {
  if (state_->thread.joinable()) state_->thread.join();
}

bool SecondThreadAllowed() { return true; }

uint64_t PhysicalMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGESIZE);
  return pages > 0 && size > 0 ? uint64_t(pages) * uint64_t(size) : 0;
}

int ProcessorsAvailable() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return CPU_COUNT(&set);
  const unsigned count = std::thread::hardware_concurrency();
  return count > 0 ? static_cast<int>(count) : 1;
}

}  // namespace setuvane::archive
