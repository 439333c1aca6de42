// The worker thread seam on Windows, with calls that Windows 95 already has: no
// condition variables, slim locks or spin counts, which came later and would keep
// the installer from loading on the old systems it serves.
#include <windows.h>

#include "archive/worker_thread.h"

namespace setuvane::archive {

struct WorkerLock::State {
  CRITICAL_SECTION section;
};

WorkerLock::WorkerLock() : state_(std::make_unique<State>()) { InitializeCriticalSection(&state_->section); }
WorkerLock::~WorkerLock() { DeleteCriticalSection(&state_->section); }
void WorkerLock::Enter() { EnterCriticalSection(&state_->section); }
void WorkerLock::Leave() { LeaveCriticalSection(&state_->section); }

struct WorkerSignal::State {
  HANDLE event;
};

WorkerSignal::WorkerSignal() : state_(std::make_unique<State>()) {
  state_->event = CreateEventA(nullptr, FALSE, FALSE, nullptr);  // auto-reset, not set
  if (state_->event == nullptr) throw std::bad_alloc();
}
WorkerSignal::~WorkerSignal() { CloseHandle(state_->event); }
void WorkerSignal::Set() { SetEvent(state_->event); }
void WorkerSignal::Wait() { WaitForSingleObject(state_->event, INFINITE); }

struct WorkerThread::State {
  std::function<void()> work;
  HANDLE thread = nullptr;
};

namespace {

DWORD WINAPI RunWork(LPVOID parameter) {
  try {
    static_cast<std::function<void()>*>(parameter)->operator()();
  } catch (...) {
    // The work catches what it throws; nothing may leave a thread.
  }
  return 0;
}

}  // namespace

WorkerThread::WorkerThread(std::function<void()> work) : state_(std::make_unique<State>()) {
  state_->work = std::move(work);
  DWORD id = 0;  // Windows 95 fails CreateThread without a place for the id
  state_->thread = CreateThread(nullptr, 0, RunWork, &state_->work, 0, &id);
}

WorkerThread::~WorkerThread() { Join(); }

bool WorkerThread::Started() const { return state_->thread != nullptr; }

void WorkerThread::Join() {
  if (state_->thread == nullptr) return;
  WaitForSingleObject(state_->thread, INFINITE);
  CloseHandle(state_->thread);
  state_->thread = nullptr;
}

// The runtime linked into the installer (the win32 thread model of MinGW's C++
// library and libgcc) guards its own shared state with locks made on
// CreateSemaphoreW, which Windows 95, 98 and Me export only as a stub. One thread
// never contends for those locks and so never needs the semaphore; two threads do,
// for the guards of static locals (inflate's tables), the unwinder's registry and
// every exception thrown, and find no lock there.
bool SecondThreadAllowed() { return (GetVersion() & 0x80000000u) == 0; }

// GlobalMemoryStatus, which every version has, counts at most 4 GB: enough to
// tell a machine of the Pentium's era from a later one.
uint64_t PhysicalMemory() {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return status.dwTotalPhys;
}

int ProcessorsAvailable() {
  // The process's affinity counts where it is bound to fewer processors than the
  // machine has; the call is looked up, so that a system without it still loads us.
  using AffinityQuery = BOOL(WINAPI*)(HANDLE, DWORD_PTR*, DWORD_PTR*);
  if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
    if (auto query = reinterpret_cast<AffinityQuery>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "GetProcessAffinityMask")))) {
      DWORD_PTR process = 0, system = 0;
      if (query(GetCurrentProcess(), &process, &system) && process != 0) {
        int count = 0;
        for (; process != 0; process &= process - 1) ++count;
        return count;
      }
    }
  }
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

}  // namespace setuvane::archive
