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

constexpr uint32_t kDictionary = uint32_t(15) << 20;
constexpr uint32_t kSmallestDictionary = 4096;
constexpr uint32_t kPreset = 9 | LZMA_PRESET_EXTREME;
constexpr uint64_t kLargestDecoded = std::numeric_limits<int32_t>::max();
constexpr size_t kHeadSize = 4096;
constexpr uint16_t kPeI386 = 0x014C, kPeAmd64 = 0x8664;
constexpr uint16_t kElfI386 = 3, kElfAmd64 = 62;

uint32_t Load(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

// The first bytes of a file, which tell what it holds.
std::vector<uint8_t> HeadOf(const PackageFile& file) {
  std::vector<uint8_t> head(kHeadSize);
  size_t got = 0;
  if (file.content) {
    got = std::min(head.size(), file.content->size());
    std::memcpy(head.data(), file.content->data(), got);
  } else {
    std::ifstream in(file.source, std::ios::binary);
    in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()));
    got = size_t(in.gcount());
  }
  head.resize(got);
  return head;
}

// x86 or x86-64 machine code, which the x86 filter helps: Windows programs and
// libraries ("MZ", and where its header points "PE" with either machine), ELF
// programs and libraries for either machine, and static libraries ("!<arch>",
// nearly always of the machine the rest of the product is for).
bool IsX86Code(const std::vector<uint8_t>& head) {
  const size_t got = head.size();
  const uint8_t* p = head.data();
  if (got >= 64 && p[0] == 'M' && p[1] == 'Z') {
    const uint32_t pe = Load(p + 0x3C, 4);
    if (pe > got - 6 || std::memcmp(p + pe, "PE\0\0", 4) != 0) return false;
    const uint32_t machine = Load(p + pe + 4, 2);
    return machine == kPeI386 || machine == kPeAmd64;
  }
  if (got >= 20 && std::memcmp(p, "\x7F" "ELF", 4) == 0 && p[5] == 1) {  // little-endian
    const uint32_t machine = Load(p + 18, 2);
    return machine == kElfI386 || machine == kElfAmd64;
  }
  return got >= 8 && std::memcmp(p, "!<arch>\n", 8) == 0;
}

// Text: no NUL among the first bytes (what binary formats nearly always have).
bool LooksLikeText(const std::vector<uint8_t>& head) {
  return !head.empty() && std::find(head.begin(), head.end(), 0) == head.end();
}

// How a block of the stream is compressed. LZMA's literal coder may take the
// preceding byte's high bits as context (lc) and the position's low bits (pb):
// text gains from more of the first and none of the second; machine code behind
// the x86 filter from less of the first.
struct BlockSettings {
  bool x86 = false;
  uint32_t literalContext = LZMA_LC_DEFAULT;
  uint32_t positionBits = LZMA_PB_DEFAULT;
};

constexpr BlockSettings kTextBlock{false, 4, 0};
constexpr BlockSettings kDataBlock{};
constexpr BlockSettings kCodeBlock{true, 1, LZMA_PB_DEFAULT};

// The smallest dictionary that holds `decoded` bytes, at most kDictionary: the
// decoder takes the dictionary's size in memory whatever the data's.
uint32_t DictionaryFor(uint64_t decoded) {
  return uint32_t(std::clamp<uint64_t>(decoded, kSmallestDictionary, kDictionary));
}

// One .xz stream written to `out` as the bytes come.
class XzEncoder {
 public:
  XzEncoder(std::ostream& out, uint32_t dictionary, const BlockSettings& settings) : out_(out) {
    if (lzma_lzma_preset(&lzma2_, kPreset)) throw std::runtime_error("liblzma lacks its strongest preset");
    lzma2_.dict_size = dictionary;
    Check(lzma_stream_encoder(&stream_, Filters(settings).data(), LZMA_CHECK_NONE));
  }
  ~XzEncoder() { lzma_end(&stream_); }
  XzEncoder(const XzEncoder&) = delete;
  XzEncoder& operator=(const XzEncoder&) = delete;

  void Write(const std::vector<uint8_t>& bytes) { Run(bytes.data(), bytes.size(), LZMA_RUN); }
  // Ends the block and starts one compressed as `settings` say.
  void BeginBlock(const BlockSettings& settings) {
    Run(nullptr, 0, LZMA_FULL_FLUSH);
    Check(lzma_filters_update(&stream_, Filters(settings).data()));
  }
  void Finish() { Run(nullptr, 0, LZMA_FINISH); }
  uint64_t Written() const { return written_; }

 private:
  std::array<lzma_filter, 3> Filters(const BlockSettings& settings) {
    lzma2_.lc = settings.literalContext;
    lzma2_.pb = settings.positionBits;
    if (settings.x86) return {{{LZMA_FILTER_X86, nullptr}, {LZMA_FILTER_LZMA2, &lzma2_}, {LZMA_VLI_UNKNOWN, nullptr}}};
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

// The files in the order they are stored, in two blocks: setup files, components
// and the product files that are no x86 code; then those that are (from
// `firstCode` on). The first block is compressed as text when text files hold
// at least half its bytes.
struct StoredOrder {
  std::vector<const PackageFile*> files;
  size_t firstCode = 0;
  BlockSettings firstBlock = kDataBlock;
};

StoredOrder OrderOf(const std::vector<PackageFile>& files) {
  StoredOrder order;
  for (const PackageFile& file : files)
    if (file.IsSetup() && !file.IsComponent()) order.files.push_back(&file);
  for (const PackageFile& file : files)
    if (file.IsComponent()) order.files.push_back(&file);
  std::vector<const PackageFile*> code;
  uint64_t textBytes = 0, otherBytes = 0;
  for (const PackageFile& file : files) {
    if (file.IsSetup()) continue;
    const std::vector<uint8_t> head = HeadOf(file);
    if (IsX86Code(head)) {
      code.push_back(&file);
      continue;
    }
    order.files.push_back(&file);
    (LooksLikeText(head) ? textBytes : otherBytes) += file.size;
  }
  order.firstCode = order.files.size();
  order.files.insert(order.files.end(), code.begin(), code.end());
  if (textBytes >= otherBytes && textBytes > 0) order.firstBlock = kTextBlock;
  return order;
}

uint32_t CrcOf(const std::vector<uint8_t>& bytes) { return ~archive::Crc32Update(0xFFFFFFFF, bytes.data(), bytes.size()); }

void WriteStream(const StoredOrder& stored, const fs::path& path, const WriteOptions& options,
                 SolidSummary& summary) {
  const std::vector<const PackageFile*>& order = stored.files;
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
  XzEncoder stream(out, DictionaryFor(header.indexLength + header.dataLength), stored.firstBlock);
  stream.Write(index);
  for (size_t i = 0; i < order.size(); ++i) {
    if (i == stored.firstCode) stream.BeginBlock(kCodeBlock);
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
  summary.programs = int(order.size() - stored.firstCode);
}

}  // namespace

uint64_t LargestDecoderMemory() {
  uint64_t most = 0;
  for (const BlockSettings& settings : {kTextBlock, kDataBlock, kCodeBlock}) {
    lzma_options_lzma lzma2{};
    if (lzma_lzma_preset(&lzma2, kPreset)) throw std::runtime_error("liblzma lacks its strongest preset");
    lzma2.dict_size = kDictionary;
    lzma2.lc = settings.literalContext;
    lzma2.pb = settings.positionBits;
    const lzma_filter filters[] = {{LZMA_FILTER_X86, nullptr}, {LZMA_FILTER_LZMA2, &lzma2}, {LZMA_VLI_UNKNOWN, nullptr}};
    most = std::max(most, lzma_raw_decoder_memusage(filters + (settings.x86 ? 0 : 1)));
  }
  return most;
}

std::vector<uint8_t> PackXz(const std::vector<uint8_t>& bytes, bool program) {
  std::ostringstream out;
  {
    XzEncoder stream(out, DictionaryFor(bytes.size()), program ? kCodeBlock : kDataBlock);
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
  const StoredOrder order = OrderOf(files);
  SolidSummary summary;
  WriteWholeOrNothing(output, [&](const fs::path& partial) { WriteStream(order, partial, options, summary); });
  return summary;
}

}  // namespace setuvane::pack
