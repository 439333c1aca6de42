#include "tools/build/package_writer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <fstream>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "archive/crc32.h"
#include "tools/build/deflate.h"
#include "tools/build/entry_encryption.h"
#include "tools/build/secure_random.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;

constexpr uint16_t kVersion = 20;  // 2.0: deflate and traditional encryption
constexpr uint64_t kLargestArchive = std::numeric_limits<int32_t>::max();
constexpr size_t kMostEntries = 0xFFFF;  // beyond it the end record needs Zip64
// Compressed entries wait for the writer in memory; workers stay within this many
// entries of the one being written.
constexpr size_t kWindow = 64;

struct EncodedEntry {
  uint16_t method = 0;
  uint16_t flags = 0;
  uint32_t crc = 0;
  uint32_t size = 0;
  std::vector<uint8_t> data;  // as stored: compressed, encrypted
};

// Eleven header bytes that depend only on the entry (splitmix64 over its name, CRC
// and size), for reproducible builds.
std::array<uint8_t, 11> DerivedBytes(const std::string& name, uint32_t crc, uint32_t size) {
  uint64_t state = 0xCBF29CE484222325ull;
  for (const char c : name) state = (state ^ static_cast<uint8_t>(c)) * 0x100000001B3ull;
  state ^= uint64_t(crc) << 32 | size;
  std::array<uint8_t, 11> bytes{};
  for (size_t i = 0; i < bytes.size(); ++i) {
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    bytes[i] = static_cast<uint8_t>(z ^ (z >> 31));
  }
  return bytes;
}

EncodedEntry Encode(const PackageFile& file, const WriteOptions& options) {
  const std::vector<uint8_t> plain = ReadWhole(file);
  EncodedEntry entry;
  entry.size = static_cast<uint32_t>(plain.size());
  entry.crc = ~archive::Crc32Update(0xFFFFFFFF, plain.data(), plain.size());
  if (options.level > 0) entry.data = Deflate(plain.data(), plain.size(), options.level);
  entry.method = entry.data.empty() ? 0 : 8;
  if (entry.method == 0) entry.data = plain;
  if (!options.password.empty()) {
    std::array<uint8_t, 11> random{};
    if (options.fixedTime) {
      random = DerivedBytes(file.storedName, entry.crc, entry.size);
    } else {
      FillSecureRandom(random.data(), random.size());
    }
    entry.data = EncryptEntry(options.password, random, entry.crc, entry.data.data(), entry.data.size());
    entry.flags |= 1;
  }
  return entry;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutText(std::vector<uint8_t>& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// The fields that local and central headers share (APPNOTE 4.3.7, 4.3.12).
void PutCommon(std::vector<uint8_t>& out, const EncodedEntry& e, DosStamp stamp, const std::string& name,
               size_t extraLength) {
  Put16(out, kVersion);
  Put16(out, e.flags);
  Put16(out, e.method);
  Put16(out, stamp.time);
  Put16(out, stamp.date);
  Put32(out, e.crc);
  Put32(out, static_cast<uint32_t>(e.data.size()));
  Put32(out, e.size);
  Put16(out, static_cast<uint32_t>(name.size()));
  Put16(out, static_cast<uint32_t>(extraLength));
}

// Encodes entries on worker threads and hands them to the writer in file order.
class EncodingPipeline {
 public:
  EncodingPipeline(const std::vector<PackageFile>& files, const WriteOptions& options)
      : files_(files), options_(options), ready_(files.size()) {
    unsigned jobs = options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    jobs = std::min<unsigned>(jobs, static_cast<unsigned>(std::max<size_t>(1, files.size())));
    for (unsigned i = 0; i < jobs; ++i) workers_.emplace_back([this] { Work(); });
  }
  ~EncodingPipeline() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

  // The encoded entry `index`, once its worker is done; rethrows its failure.
  EncodedEntry Take(size_t index) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return ready_[index].has_value() || failure_; });
    if (failure_) std::rethrow_exception(failure_);
    EncodedEntry entry = std::move(*ready_[index]);
    ready_[index].reset();
    taken_ = index + 1;
    changed_.notify_all();
    return entry;
  }

 private:
  void Work() {
    for (;;) {
      const size_t index = next_.fetch_add(1);
      if (index >= files_.size()) return;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return index < taken_ + kWindow || stopping_; });
        if (stopping_) return;
      }
      try {
        EncodedEntry entry = Encode(files_[index], options_);
        std::lock_guard<std::mutex> lock(mutex_);
        ready_[index] = std::move(entry);
      } catch (...) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!failure_) failure_ = std::current_exception();
      }
      changed_.notify_all();
    }
  }

  const std::vector<PackageFile>& files_;
  const WriteOptions& options_;
  std::vector<std::optional<EncodedEntry>> ready_;
  std::atomic<size_t> next_{0};
  size_t taken_ = 0;
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> workers_;
};

class Output {
 public:
  explicit Output(const fs::path& path) : path_(path), out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) throw std::runtime_error(PathText(path) + ": cannot be created");
  }
  void Write(const std::vector<uint8_t>& bytes) {
    if (written_ + bytes.size() > kLargestArchive) {
      throw std::runtime_error("the package would be 2 GiB or larger, beyond what the installer reads");
    }
    out_.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out_) throw std::runtime_error(PathText(path_) + ": cannot be written");
    written_ += bytes.size();
  }
  uint64_t Position() const { return written_; }
  void Close() {
    out_.close();
    if (!out_) throw std::runtime_error(PathText(path_) + ": cannot be written");
  }

 private:
  fs::path path_;
  std::ofstream out_;
  uint64_t written_ = 0;
};

void WriteArchive(const std::vector<PackageFile>& files, const fs::path& path, const WriteOptions& options,
                  WriteSummary& summary) {
  std::vector<DosStamp> stamps;
  for (const PackageFile& file : files) {
    stamps.push_back(EntryStamp(file, options.fixedTime));
  }
  Output out(path);
  std::vector<uint8_t> central;
  EncodingPipeline pipeline(files, options);
  for (size_t i = 0; i < files.size(); ++i) {
    const PackageFile& file = files[i];
    const EncodedEntry entry = pipeline.Take(i);
    const uint32_t offset = static_cast<uint32_t>(out.Position());
    std::vector<uint8_t> local;
    Put32(local, 0x04034B50);
    PutCommon(local, entry, stamps[i], file.storedName, 0);
    PutText(local, file.storedName);
    out.Write(local);
    out.Write(entry.data);
    (entry.method == 8 ? summary.deflated : summary.stored) += 1;

    Put32(central, 0x02014B50);
    Put16(central, kVersion);  // made by: MS-DOS, 2.0
    PutCommon(central, entry, stamps[i], file.storedName, file.destination.size());
    Put16(central, 0);  // comment length
    Put16(central, 0);  // disk number start
    Put16(central, 0);  // internal attributes
    Put32(central, 0);  // external attributes
    Put32(central, offset);
    PutText(central, file.storedName);
    PutText(central, file.destination);
  }
  const uint32_t directoryOffset = static_cast<uint32_t>(out.Position());
  out.Write(central);
  std::vector<uint8_t> end;
  Put32(end, 0x06054B50);
  Put16(end, 0);
  Put16(end, 0);
  Put16(end, static_cast<uint32_t>(files.size()));
  Put16(end, static_cast<uint32_t>(files.size()));
  Put32(end, static_cast<uint32_t>(central.size()));
  Put32(end, directoryOffset);
  Put16(end, 0);  // no archive comment
  out.Write(end);
  out.Close();
  summary.archiveBytes = out.Position();
}

}  // namespace

void WriteWholeOrNothing(const fs::path& output, const std::function<void(const fs::path& partial)>& write) {
  fs::path partial = output;
  partial += ".part";
  try {
    write(partial);
    fs::rename(partial, output);
  } catch (const fs::filesystem_error& e) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    throw std::runtime_error(PathText(output) + ": " + e.code().message());
  } catch (...) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    throw;
  }
}

WriteSummary WritePackage(const std::vector<PackageFile>& files, const fs::path& output, const WriteOptions& options) {
  if (files.size() > kMostEntries) throw std::runtime_error("more than 65,535 entries need Zip64, which the installer does not read");
  for (const PackageFile& file : files) {
    if (file.storedName.size() > 0xFFFF || file.destination.size() > 0xFFFF) {
      throw std::runtime_error(PathText(file.source) + ": name or destination longer than a ZIP header holds");
    }
  }
  WriteSummary summary;
  WriteWholeOrNothing(output, [&](const fs::path& partial) { WriteArchive(files, partial, options, summary); });
  return summary;
}

}  // namespace setuvane::pack
