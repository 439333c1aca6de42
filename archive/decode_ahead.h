// Decoding ahead: while the caller's thread writes one entry of an extraction, a
// worker thread prepares the entries that come after it, in their order, in
// memory. Installing is decoding plus creating files, and this lets the two overlap
// on two processors.
//
// The work of an entry is shared out as it goes: the worker always reads the
// entry's data and decrypts it; it also decodes it (inflate, CRC) while it is ahead
// of the caller, and leaves the decoding to the caller when the caller has caught up
// with it. So writing files (the slow part under Wine) gets a thread of its own, and
// where decoding is the slow part (decryption and inflate natively) both threads
// decode.
//
// Nothing changes for the caller but the time: the worker only reads the archive
// (through a handle of its own) and never touches a target or fires an event. When
// the caller reaches an entry, UnzipEntry takes what was prepared and writes the
// entry itself, firing every progress event at the point where decoding on the spot
// would have fired it; a failure is raised at the same point too, after the same
// bytes: before the target is touched for a failed header check, after the
// overwrite question for anything else. An entry that the caller skips, refuses or
// leaves after a failure is thrown away unwritten.
//
// Where decoding ahead cannot know what decoding on the spot would do, it stops and
// leaves the rest to the caller: a password that fails (the owner is asked for
// another one, and the answer may change what every later entry gives), or a
// password changed since it started.
//
// Memory is bounded: prepared bytes wait in a ring of `memory` bytes (a few
// megabytes) whose pages are touched only as it fills; an entry larger than that
// streams through it, the worker waiting for room while the caller writes. The
// threads stay inside decoding ahead: the plan and the caller's side are in
// decode_ahead.cpp, the worker's loop in decode_ahead_worker.cpp, and the entry
// the caller writes in ahead_entry.cpp.
#pragma once

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/extraction_buffers.h"
#include "archive/file_system.h"
#include "archive/entry_decoding.h"
#include "archive/worker_thread.h"
#include "archive/zdecoder.h"

namespace setuvane::archive {

class DecodeAhead;

// How the work of an entry is shared: as the threads' pace asks (the default), or,
// for tests, always decoded by the worker or always by the caller.
enum class DecodeAheadShare : uint8_t { kBalanced, kWorkerDecodes, kCallerDecodes };

// Whether an extraction decodes ahead unless told otherwise: on when the process
// may run on two processors or more. The environment variable SETUVANE_DECODE_AHEAD
// set to 0 or 1 turns it off or on whatever the count (for measurements). Never
// where a second thread is not allowed (Windows 9x): there a DecodeAhead decodes
// nothing, even when asked for.
bool DecodeAheadByDefault();

// One entry decoded ahead, in the hands of the caller's thread until it is written
// or given up; whatever of it was not written is thrown away when it is destroyed.
class AheadEntry {
 public:
  ~AheadEntry();
  AheadEntry(const AheadEntry&) = delete;
  AheadEntry& operator=(const AheadEntry&) = delete;

  // Raises the failure that struck the entry before its data (its header checks).
  void ThrowEarlyFailure();
  // Writes the entry to `target` (decoding it first where the worker left that to
  // this thread), reporting progress at the points decoding on the spot would, then
  // raises the entry's failure if it has one. The entry's decryption object goes to
  // `item`, as decoding on the spot leaves it.
  void WriteTo(WritableFile& target, TAbZipArchive& archive, TAbZipItem& item,
               const OutputSink::ProgressHandler& progress);

 private:
  friend class DecodeAhead;
  class ReadInput;
  AheadEntry(DecodeAhead& owner, int position, bool decoded)
      : owner_(owner), position_(position), decoded_(decoded) {}
  void WriteDecoded(WritableFile& target, TAbZipItem& item, const OutputSink::ProgressHandler& progress);

  DecodeAhead& owner_;
  int position_;
  bool decoded_;          // the worker decoded the entry; else it read it only
  uint64_t done_ = 0;     // end in the ring of the bytes used so far
  bool finished_ = false;  // every record of the entry was taken
};

class DecodeAhead {
 public:
  // The most prepared bytes that wait for the caller. A few megabytes keep the
  // worker well ahead while the ring stays in the processor's caches; a larger ring
  // only costs page faults and memory traffic (extracting stored entries took more
  // processor time with 16 and 64 MiB than with 4).
  static constexpr size_t kDefaultMemory = size_t(4) << 20;

  // Starts decoding `entries` (indices of `archive`, in increasing order) on a
  // worker thread. Falls back to decoding nothing when the archive cannot be opened
  // a second time or no thread can be started.
  DecodeAhead(TAbZipArchive& archive, const std::vector<int>& entries, size_t memory = kDefaultMemory,
              DecodeAheadShare share = DecodeAheadShare::kBalanced);
  // Stops the worker and throws away what waits.
  ~DecodeAhead();
  DecodeAhead(const DecodeAhead&) = delete;
  DecodeAhead& operator=(const DecodeAhead&) = delete;

  // The decoded entry, when it is one of those planned and not passed yet, decoding
  // ahead still runs, and the archive's password is still the one it decodes with;
  // null otherwise (the caller then decodes the entry itself). Entries planned
  // before it are thrown away. Waits for the worker to reach the entry.
  std::unique_ptr<AheadEntry> Take(const TAbZipArchive& archive, const TAbZipItem& item);

 private:
  friend class AheadEntry;
  class RingSink;
  // The ring is made of blocks, so that no single large allocation is needed; a piece
  // of decoded data never crosses a block's end.
  static constexpr size_t kBlockSize = size_t(1) << 20;
  // Records waiting for the caller, at most: entries of no bytes take no ring room.
  static constexpr size_t kMostRecords = 65536;

  struct Planned {
    const TAbZipItem* item;
    EntryFacts facts;
    bool folder;
  };
  enum class Kind : uint8_t { kData, kProgress, kEnd, kFailed, kFailedEarly, kNeedsCaller };
  struct Record {
    Record(int position_, Kind kind_) : position(position_), kind(kind_) {}
    int position;
    Kind kind;
    bool decoded = false;                    // the entry's records hold decoded bytes (not only read ones)
    uint8_t percent = 0;                     // kProgress
    uint64_t start = 0;                      // kData: where its bytes begin in the ring
    uint32_t length = 0;                     // kData
    std::exception_ptr failure;              // kFailed, kFailedEarly
    std::unique_ptr<TAbZDecoder> decoder;    // kEnd, kFailed: of an encrypted entry
  };
  struct AbandonedEntry {};  // thrown inside the worker to leave an entry given up

  // The worker's side.
  void Work();
  bool DecodeOne(int position);  // false: stop decoding ahead
  bool WorkerDecodes(int position);
  void Prepared(int position, bool decoded);
  void ReadOnly(int position, const EntryFacts& facts, int64_t dataOffset, TAbZDecoder* decoder);
  uint64_t WaitForRoom(int position, bool forBytes);
  uint8_t* Room(int position, size_t& length);
  void Wrote(int position, size_t length);
  void Add(Record record, size_t bytes = 0);
  void Publish();
  bool PublishHeld();
  // The caller's side.
  Record Next(int position, uint64_t release);
  void Release(int position, uint64_t release, bool finished);
  void WaitForRecords(WorkerLockHeld& held);
  void DropBefore(int position);
  void PassedThrough(int position);
  bool WorkerNeeded() const;
  uint8_t* At(uint64_t ringPosition) const;

  std::vector<Planned> plan_;
  std::string password_;
  uint8_t retries_;
  DecodeAheadShare share_;
  size_t blockSize_;
  std::vector<std::unique_ptr<uint8_t[]>> blocks_;
  uint64_t capacity_;
  uint64_t refill_ = 1;  // free bytes that wake a worker waiting for room
  std::unique_ptr<ReadableFile> file_;  // the worker's own handle of the archive
  ExtractionBuffers buffers_;           // the worker's

  // Shared, under lock_.
  WorkerLock lock_;
  WorkerSignal recordsAdded_;  // wakes the caller
  WorkerSignal roomMade_;      // wakes the worker
  std::deque<Record> records_;
  uint64_t consumed_ = 0;  // ring bytes the caller is done with
  int passed_ = -1;        // plan positions up to this one are given up
  bool stop_ = false;
  bool workerDone_ = false;
  bool callerWaits_ = false;
  bool workerWaits_ = false;
  int waitingAt_ = -1;  // the position the waiting worker decodes
  std::vector<uint64_t> work_;  // the caller's estimated work for each entry prepared whole
  uint64_t backlog_ = 0;        // the caller's estimated work prepared whole and not begun
  int counted_ = 0;             // the first entry whose work may be in the backlog

  // The worker's alone.
  uint64_t written_ = 0;    // ring bytes written; those of the pending records follow the published ones
  uint64_t published_ = 0;  // ring bytes that published records hold
  std::vector<Record> pending_;
  uint64_t pendingBytes_ = 0;
  bool entryDecoded_ = true;  // of the entry being prepared

  // The caller's alone.
  int cursor_ = 0;  // first plan position not taken yet

  std::unique_ptr<WorkerThread> thread_;  // last: it stops before the rest goes
};

}  // namespace setuvane::archive
