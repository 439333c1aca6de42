// A decoder run on a thread of its own, ahead of the one reader of its bytes: the
// thread decodes into a ring of `memory` bytes while there is room, and Take hands
// the bytes out in their order. A solid stream read in two parts decodes its
// second part this way (archive/solid_stream.h), so that the two parts are decoded
// on two processors at once.
//
// A failure of the decoder (an exception) is raised by Take where it struck, once
// every byte decoded before it has been taken. Destroying the object stops the
// thread (after the decoding call it is in) and throws away what waits.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

#include "archive/worker_thread.h"

namespace setuvane::archive {

class DecodingThread {
 public:
  // `decode(buffer, length)` gives the next `length` bytes, or throws; it is called
  // on the thread only, `total` bytes in all.
  using Decode = std::function<void(uint8_t* buffer, size_t length)>;

  // Whether a decoder may get a thread of its own here: two processors or more,
  // where a second thread is allowed at all.
  static bool Worthwhile();

  DecodingThread(Decode decode, uint64_t total, size_t memory);
  ~DecodingThread();
  DecodingThread(const DecodingThread&) = delete;
  DecodingThread& operator=(const DecodingThread&) = delete;

  // Copies the next `length` bytes into `buffer`, waiting for them as needed.
  void Take(uint8_t* buffer, size_t length);

 private:
  void Work();

  Decode decode_;
  const uint64_t total_;
  const size_t capacity_;
  std::unique_ptr<uint8_t[]> ring_;

  // Shared, under lock_.
  WorkerLock lock_;
  WorkerSignal bytesAdded_;  // wakes the reader
  WorkerSignal roomMade_;    // wakes the thread
  uint64_t produced_ = 0;    // bytes decoded into the ring
  uint64_t consumed_ = 0;    // bytes taken out of it
  std::exception_ptr failure_;
  bool stop_ = false;
  bool readerWaits_ = false;
  bool threadWaits_ = false;

  std::unique_ptr<WorkerThread> thread_;  // last: it stops before the rest goes
};

}  // namespace setuvane::archive
