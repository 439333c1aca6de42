#include "tools/build/solid_writer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>

#include <lzma.h>

#include "archive/crc32.h"
#include "archive/solid_package.h"

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kDictionary = uint32_t(8) << 20;
constexpr uint32_t kPreset = 9 | LZMA_PRESET_EXTREME;
constexpr uint64_t kLargestDecoded = std::numeric_limits<int32_t>::max();
constexpr uint16_t kMachineI386 = 0x014C;

uint32_t Load(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

// An x86 Windows program or library: "MZ", and where its header points "PE" with
// the i386 machine.
bool IsX86Program(const PackageFile& file) {
  uint8_t head[4096];
  size_t got = 0;
  if (file.content) {
    got = std::min(sizeof head, file.content->size());
    std::memcpy(head, file.content->data(), got);
  } else {
    std::ifstream in(file.source, std::ios::binary);
    in.read(reinterpret_cast<char*>(head), sizeof head);
    got = size_t(in.gcount());
  }
  if (got < 64 || head[0] != 'M' || head[1] != 'Z') return false;
  const uint32_t pe = Load(head + 0x3C, 4);
  return pe <= got - 6 && std::memcmp(head + pe, "PE\0\0", 4) == 0 && Load(head + pe + 4, 2) == kMachineI386;
}

// One .xz stream written to `out` as the bytes come.
class XzEncoder {
 public:
  XzEncoder(std::ostream& out, bool programs) : out_(out) {
    if (lzma_lzma_preset(&lzma2_, kPreset)) throw std::runtime_error("liblzma lacks its strongest preset");
    lzma2_.dict_size = kDictionary;
    Check(lzma_stream_encoder(&stream_, Filters(programs).data(), LZMA_CHECK_NONE));
  }
  ~XzEncoder() { lzma_end(&stream_); }
  XzEncoder(const XzEncoder&) = delete;
  XzEncoder& operator=(const XzEncoder&) = delete;

  void Write(const std::vector<uint8_t>& bytes) { Run(bytes.data(), bytes.size(), LZMA_RUN); }
  // Ends the block and starts one whose LZMA2 runs behind the x86 filter.
  void BeginProgramBlock() {
    Run(nullptr, 0, LZMA_FULL_FLUSH);
    Check(lzma_filters_update(&stream_, Filters(true).data()));
  }
  void Finish() { Run(nullptr, 0, LZMA_FINISH); }
  uint64_t Written() const { return written_; }

 private:
  std::array<lzma_filter, 3> Filters(bool programs) {
    if (programs) return {{{LZMA_FILTER_X86, nullptr}, {LZMA_FILTER_LZMA2, &lzma2_}, {LZMA_VLI_UNKNOWN, nullptr}}};
    return {{{LZMA_FILTER_LZMA2, &lzma2_}, {LZMA_VLI_UNKNOWN, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}}};
  }

  static void Check(lzma_ret result) {
    if (result == LZMA_MEM_ERROR) throw std::runtime_error("not enough memory to compress the stream");
    if (result != LZMA_OK && result != LZMA_STREAM_END) {
      throw std::runtime_error("liblzma cannot compress the stream (error " + std::to_string(int(result)) + ")");
    }
  }

  // Feeds `length` bytes; a flush or the finish runs until liblzma says it is done.
  // Nothing to feed is not fed: liblzma takes a second call without progress for
  // a caller's mistake (LZMA_BUF_ERROR).
  void Run(const uint8_t* data, size_t length, lzma_action action) {
    if (action == LZMA_RUN && length == 0) return;
    stream_.next_in = data;
    stream_.avail_in = length;
    for (;;) {
      stream_.next_out = buffer_;
      stream_.avail_out = sizeof buffer_;
      const lzma_ret result = lzma_code(&stream_, action);
      Check(result);
      const size_t produced = sizeof buffer_ - stream_.avail_out;
      out_.write(reinterpret_cast<const char*>(buffer_), std::streamsize(produced));
      written_ += produced;
      if (result == LZMA_STREAM_END || (action == LZMA_RUN && stream_.avail_in == 0)) return;
    }
  }

  std::ostream& out_;
  lzma_options_lzma lzma2_{};
  lzma_stream stream_ = LZMA_STREAM_INIT;
  uint8_t buffer_[64 * 1024];
  uint64_t written_ = 0;
};

// The files in the order they are stored: setup files, components, product files
// that are no x86 programs, then those that are (`firstProgram` tells where).
std::vector<const PackageFile*> StoredOrder(const std::vector<PackageFile>& files, size_t& firstProgram) {
  std::vector<const PackageFile*> order;
  for (const PackageFile& file : files)
    if (file.IsSetup() && !file.IsComponent()) order.push_back(&file);
  for (const PackageFile& file : files)
    if (file.IsComponent()) order.push_back(&file);
  std::vector<const PackageFile*> programs;
  for (const PackageFile& file : files) {
    if (file.IsSetup()) continue;
    (IsX86Program(file) ? programs : order).push_back(&file);
  }
  firstProgram = order.size();
  order.insert(order.end(), programs.begin(), programs.end());
  return order;
}

uint32_t CrcOf(const std::vector<uint8_t>& bytes) { return ~archive::Crc32Update(0xFFFFFFFF, bytes.data(), bytes.size()); }

void WriteStream(const std::vector<const PackageFile*>& order, size_t firstProgram, const fs::path& path,
                 const WriteOptions& options, SolidSummary& summary) {
  archive::SolidHeader header;
  header.entries = uint32_t(order.size());
  std::vector<uint8_t> index;
  std::vector<uint32_t> crcs;
  for (const PackageFile* file : order) {
    const std::vector<uint8_t> bytes = ReadWhole(*file);
    const DosStamp stamp = EntryStamp(*file, options.fixedTime);
    crcs.push_back(CrcOf(bytes));
    archive::AppendSolidIndexEntry(index, {uint32_t(bytes.size()), crcs.back(), stamp.date, stamp.time,
                                           file->storedName, file->destination});
    header.dataLength += bytes.size();
  }
  header.indexLength = index.size();
  if (header.indexLength + header.dataLength > kLargestDecoded) {
    throw std::runtime_error("the package would hold 2 GiB or more, beyond what the installer reads");
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error(PathText(path) + ": cannot be created");
  const auto blank = archive::EncodeSolidHeader({});
  out.write(reinterpret_cast<const char*>(blank.data()), std::streamsize(blank.size()));
  XzEncoder stream(out, false);
  stream.Write(index);
  for (size_t i = 0; i < order.size(); ++i) {
    if (i == firstProgram) stream.BeginProgramBlock();
    const std::vector<uint8_t> bytes = ReadWhole(*order[i]);
    if (CrcOf(bytes) != crcs[i]) throw std::runtime_error(PathText(order[i]->source) + ": changed while it was read");
    stream.Write(bytes);
  }
  stream.Finish();
  header.streamLength = stream.Written();
  const auto filled = archive::EncodeSolidHeader(header);
  out.seekp(0);
  out.write(reinterpret_cast<const char*>(filled.data()), std::streamsize(filled.size()));
  out.close();
  if (!out) throw std::runtime_error(PathText(path) + ": cannot be written");
  summary.packageBytes = archive::kSolidHeaderSize + header.streamLength;
  summary.programs = int(order.size() - firstProgram);
}

}  // namespace

std::vector<uint8_t> PackXz(const std::vector<uint8_t>& bytes, bool program) {
  std::ostringstream out;
  {
    XzEncoder stream(out, program);
    stream.Write(bytes);
    stream.Finish();
  }
  const std::string packed = std::move(out).str();
  return std::vector<uint8_t>(packed.begin(), packed.end());
}

SolidSummary WriteSolidPackage(const std::vector<PackageFile>& files, const fs::path& output,
                               const WriteOptions& options) {
  for (const PackageFile& file : files) {
    if (file.storedName.size() > 0xFFFF || file.destination.size() > 0xFFFF) {
      throw std::runtime_error(PathText(file.source) + ": name or destination longer than the index holds");
    }
  }
  size_t firstProgram = 0;
  const std::vector<const PackageFile*> order = StoredOrder(files, firstProgram);
  SolidSummary summary;
  WriteWholeOrNothing(output, [&](const fs::path& partial) { WriteStream(order, firstProgram, partial, options, summary); });
  return summary;
}

}  // namespace setuvane::pack
