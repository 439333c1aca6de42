// Decoding ahead against decoding on the spot: random archives (entries of random
// sizes and methods, encrypted, damaged, refused, skipped, aborted) extracted both
// ways must give the same events in the same order and the same files, also when
// the worker runs out of memory. Run also under the sanitizers, where the threads'
// hand-over is checked as well.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "archive/decode_ahead.h"
#include "archive/decoding_thread.h"
#include "archive/memory_file_system.h"
#include "archive/unzipper.h"
#include "tests/archive/zip_writer.h"

// The program's allocations, with one of the worker's made to fail: while a
// FailingWorkerAllocation lives, the allocations of every thread but the one that
// made it are counted, and the one of the chosen number throws.
namespace {

std::atomic<bool> gCounting{false};
std::thread::id gCaller;
std::atomic<long> gWorkerAllocations{0};
long gFailing = 0;  // the number of the allocation that fails; 0: none

void* Allocate(std::size_t size) {
  if (gCounting.load(std::memory_order_acquire) && std::this_thread::get_id() != gCaller &&
      ++gWorkerAllocations == gFailing) {
    throw std::bad_alloc();
  }
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}

void* AllocateOrNull(std::size_t size) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

class FailingWorkerAllocation {
 public:
  explicit FailingWorkerAllocation(long failing) {
    gCaller = std::this_thread::get_id();
    gFailing = failing;
    gWorkerAllocations = 0;
    gCounting.store(true, std::memory_order_release);
  }
  ~FailingWorkerAllocation() { gCounting = false; }
  FailingWorkerAllocation(const FailingWorkerAllocation&) = delete;
  FailingWorkerAllocation& operator=(const FailingWorkerAllocation&) = delete;
  long Made() const { return gWorkerAllocations; }  // once the worker has ended
};

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace setuvane::archive {
namespace {

using testing::Bytes;
using testing::ZipEntryLayout;
using testing::ZipLayout;

constexpr char kPassword[] = "pw";

Bytes RandomBytes(std::mt19937& random, size_t size) {
  Bytes bytes(size);
  // Runs of one byte among random ones, so that sizes and contents vary.
  for (size_t i = 0; i < size; ++i) bytes[i] = random() % 4 == 0 ? uint8_t(random()) : uint8_t(i / 97);
  return bytes;
}

// An archive of random entries: most sound, some of every kind of trouble.
ZipLayout RandomArchive(std::mt19937& random) {
  ZipLayout layout;
  const int count = int(random() % 24);
  for (int i = 0; i < count; ++i) {
    const int kind = int(random() % 20);
    const size_t size = kind < 2 ? 100000 + random() % 300000 : (kind < 4 ? 0 : random() % 9000);
    ZipEntryLayout entry{.name = "d" + std::to_string(random() % 3) + "/f" + std::to_string(random() % 12) + ".bin",
                         .data = RandomBytes(random, size),
                         .method = uint16_t(random() % 2 ? 8 : 0)};
    if (random() % 3 == 0) entry.password = kPassword;
    switch (kind) {
      case 4: entry.crc = testing::ZipCrc(entry.data) ^ 0x10; break;              // fails its CRC at the end
      case 5: entry.method = 9; break;                                              // unknown method
      case 6: entry.versionNeeded = 45; break;                                      // fails before its data
      case 7: entry.name = "d" + std::to_string(i) + "/"; entry.data.clear(); break;  // a folder
      case 8:                                                                       // a broken deflate stream
        entry.method = 8;
        entry.password.reset();
        entry.rawPayload = Bytes{0x07, 0xFF, 0x13};
        entry.compressedSize = 3;
        break;
      case 9:  // declares less than it holds
        if (!entry.data.empty()) entry.uncompressedSize = uint32_t(entry.data.size() / 2);
        break;
      default: break;
    }
    layout.entries.push_back(std::move(entry));
  }
  return layout;
}

struct Outcome {
  std::vector<std::string> events;
  std::map<std::string, Bytes> files;
};

// How the owner answers, drawn once per scenario so that both runs answer alike.
struct Answers {
  uint32_t seed;
  bool restorePath, marked, wrongPasswordFirst, plannedCalls;
  size_t memory;
};

Outcome Extract(const Bytes& archive, const Answers& answers, bool ahead,
                DecodeAheadShare share = DecodeAheadShare::kBalanced) {
  MemoryFileSystem disk;
  disk.AddFile("a.zip", archive);
  disk.AddFolder("out");
  disk.AddFile("out\\f3.bin", Bytes{1, 2, 3});  // there before: overwritten or kept
  disk.AddFolder("out\\d1");
  disk.AddFile("out\\d1\\f5.bin", Bytes{4});
  Outcome run;
  TAbUnZipper zip(disk);
  zip.SetDecodeAhead(ahead, answers.memory, share);
  zip.SetPassword(answers.wrongPasswordFirst ? "wrong" : kPassword);
  zip.SetExtractOptions(answers.restorePath ? eoCreateDirs | eoRestorePath : eoCreateDirs);
  std::minstd_rand choice(answers.seed);
  auto note = [&run](std::string text) { run.events.push_back(std::move(text)); };
  zip.OnNeedPassword = [&](TAbUnZipper&, std::string& password) {
    note("password for " + password);
    password = kPassword;
  };
  zip.OnConfirmOverwrite = [&](std::string& name, bool& confirm) {
    confirm = choice() % 2 == 0;
    note("overwrite " + name + (confirm ? " yes" : " no"));
  };
  zip.OnConfirmProcessItem = [&](TAbUnZipper&, TAbArchiveItem& item, TAbProcessType, bool& confirm) {
    confirm = choice() % 8 != 0;
    note("process " + item.StoredName() + (confirm ? " yes" : " no"));
  };
  zip.OnArchiveItemProgress = [&](TAbUnZipper&, TAbArchiveItem& item, uint8_t progress, bool& abort) {
    abort = choice() % 400 == 0;
    note("progress " + item.StoredName() + " " + std::to_string(progress) + (abort ? " abort" : ""));
  };
  zip.OnArchiveProgress = [&](TAbUnZipper&, uint8_t progress, bool&) { note("overall " + std::to_string(progress)); };
  zip.OnProcessItemFailure = [&](TAbUnZipper& sender, TAbArchiveItem& item, TAbProcessType, TAbErrorClass c, int code) {
    note("failed " + item.StoredName() + " " + std::to_string(int(c)) + " " + std::to_string(code) + " " +
         sender.FailureText());
  };
  zip.SetBaseDirectory("out");
  zip.OpenZip("a.zip");
  try {
    if (answers.plannedCalls) {
      // The caller's own plan, which the calls then follow only in part: planned
      // entries are skipped, unplanned ones asked for.
      std::vector<int> plan;
      for (int i = 0; i < zip.EntryCount(); ++i) {
        if (choice() % 4 != 0) plan.push_back(i);
      }
      zip.PlanDecodeAhead(plan);
      for (int i = 0; i < zip.EntryCount(); ++i) {
        if (choice() % 5 != 0) zip.ExtractEntry(i);
      }
      zip.EndDecodeAhead();
    } else if (answers.marked) {
      for (int i = 0; i < zip.EntryCount(); ++i) zip.Entries(i)->Marked = choice() % 3 != 0;
      zip.ExtractMarked();
    } else {
      zip.ExtractMatching("*.*");
    }
  } catch (const std::exception& e) {
    note(std::string("ended: ") + e.what());
  }
  for (const auto& [path, file] : disk.Files()) run.files[path] = file.data;
  return run;
}

TEST(DecodeAhead, RandomArchivesGiveTheSameEventsAndFilesAsDecodingOnTheSpot) {
  std::mt19937 random(20260118);
  for (int scenario = 0; scenario < 150; ++scenario) {
    const Bytes archive = testing::BuildZip(RandomArchive(random)).bytes;
    const Answers answers{uint32_t(random()), random() % 2 == 0, random() % 2 == 0, random() % 4 == 0,
                          random() % 3 == 0, size_t(4096) << (random() % 9)};
    const Outcome spot = Extract(archive, answers, false);
    // The worker decoding every entry, none (reading only), and as the pace asks.
    for (const DecodeAheadShare share :
         {DecodeAheadShare::kWorkerDecodes, DecodeAheadShare::kCallerDecodes, DecodeAheadShare::kBalanced}) {
      const Outcome ahead = Extract(archive, answers, true, share);
      ASSERT_EQ(ahead.events, spot.events) << "scenario " << scenario << ", share " << int(share);
      ASSERT_EQ(ahead.files, spot.files) << "scenario " << scenario << ", share " << int(share);
    }
  }
}

// Whichever of the worker's allocations fails (one handing records over under the
// lock among them), the extraction ends, and what comes before the first report of
// the lack of memory is what decoding on the spot does.
TEST(DecodeAhead, AWorkerOutOfMemoryEndsNoExtractionDifferently) {
  std::mt19937 random(20260119);
  ZipLayout layout;
  for (int i = 0; i < 40; ++i) {
    layout.entries.push_back({.name = "f" + std::to_string(i) + ".bin",
                              .data = RandomBytes(random, i % 8 == 0 ? 30000 : random() % 900),
                              .method = uint16_t(i % 2 ? 8 : 0)});
  }
  const Bytes archive = testing::BuildZip(layout).bytes;
  const Answers answers{7, true, false, false, false, 8192};  // a ring smaller than some entries
  const Outcome spot = Extract(archive, answers, false);
  long made = 0;
  {
    FailingWorkerAllocation none(0);
    ASSERT_EQ(Extract(archive, answers, true, DecodeAheadShare::kWorkerDecodes).events, spot.events);
    made = none.Made();
  }
  ASSERT_GT(made, 0);
  for (long failing = 1; failing <= made; ++failing) {
    Outcome ahead;
    {
      FailingWorkerAllocation one(failing);
      ahead = Extract(archive, answers, true, DecodeAheadShare::kWorkerDecodes);
    }
    const auto reported = std::find_if(ahead.events.begin(), ahead.events.end(), [](const std::string& event) {
      return event.find("Out of memory") != std::string::npos || event.find("bad_alloc") != std::string::npos;
    });
    if (reported == ahead.events.end()) {
      ASSERT_EQ(ahead.events, spot.events) << "allocation " << failing;
      ASSERT_EQ(ahead.files, spot.files) << "allocation " << failing;
    } else {
      ASSERT_LE(reported - ahead.events.begin(), spot.events.end() - spot.events.begin()) << "allocation " << failing;
      ASSERT_TRUE(std::equal(ahead.events.begin(), reported, spot.events.begin())) << "allocation " << failing;
    }
  }
}

// A decoder on a thread of its own (a solid stream's second part): its bytes come
// in order through a ring smaller than they are, taken in pieces of odd sizes; a
// failure comes after the bytes decoded before it; and one given up while its
// thread waits for room stops.
TEST(DecodingThread, GivesItsBytesInOrderThenItsFailureAndStopsWhenGivenUp) {
  constexpr uint64_t kTotal = 1'000'003;
  uint64_t made = 0;
  const auto counting = [&made](uint8_t* buffer, size_t length) {
    for (size_t i = 0; i < length; ++i) buffer[i] = uint8_t(made++ % 251);
  };
  {
    DecodingThread thread(counting, kTotal, 100'000);
    std::vector<uint8_t> piece(77'777);
    for (uint64_t taken = 0; taken < kTotal;) {
      const size_t length = size_t(std::min<uint64_t>(piece.size(), kTotal - taken));
      thread.Take(piece.data(), length);
      for (size_t i = 0; i < length; ++i) ASSERT_EQ(piece[i], uint8_t((taken + i) % 251)) << taken + i;
      taken += length;
    }
  }
  made = 0;
  const auto failing = [&](uint8_t* buffer, size_t length) {
    if (made + length > 150'000) throw std::runtime_error("damaged");
    counting(buffer, length);
  };
  DecodingThread damaged(failing, kTotal, 100'000);
  std::vector<uint8_t> bytes(150'000);
  EXPECT_THROW(damaged.Take(bytes.data(), bytes.size()), std::runtime_error);
  made = 0;
  DecodingThread givenUp(counting, kTotal, 100'000);  // fills its ring and waits
  givenUp.Take(bytes.data(), 10);
}

}  // namespace
}  // namespace setuvane::archive
