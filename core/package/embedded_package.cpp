#include "core/package/embedded_package.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "archive/file_system.h"
#include "archive/solid_stream.h"
#include "core/package/package_checksum.h"
#include "pe/pe_layout.h"

namespace setuvane {
namespace {

constexpr char kMark[16] = {'S', 'e', 't', 'u', 'v', 'a', 'n', 'e', ' ', 'p', 'a', 'c', 'k', 'a', 'g', 'e'};
constexpr uint32_t kFormat = 1;
constexpr uint32_t kUnpacksUninstaller = 1;  // flags of the record
constexpr uint32_t kUninstallerPacked = 2;
// An unpacked uninstaller larger than this is no program of ours.
constexpr size_t kLargestUninstaller = size_t(64) << 20;
// Read in pieces that stay in the processor's cache while they are summed.
constexpr size_t kCheckPiece = 256 * 1024;

uint64_t LoadLe(const uint8_t* p, int bytes) {
  uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

void StoreLe(uint8_t* p, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i, value >>= 8) p[i] = static_cast<uint8_t>(value);
}

}  // namespace

PackageRecord EncodePackageRecord(const std::optional<EmbeddedPackage>& package, bool unpacksUninstaller) {
  PackageRecord record{};
  std::memcpy(record.data(), kMark, sizeof kMark);
  StoreLe(record.data() + 16, kFormat, 4);
  const bool packed = package && package->uninstaller && package->uninstaller->packed;
  StoreLe(record.data() + 20, (unpacksUninstaller ? kUnpacksUninstaller : 0) | (packed ? kUninstallerPacked : 0), 4);
  if (package) {
    StoreLe(record.data() + 24, uint64_t(package->offset), 8);
    StoreLe(record.data() + 32, uint64_t(package->size), 8);
    StoreLe(record.data() + 40, package->checksum, 4);
  }
  if (package && package->uninstaller) {
    StoreLe(record.data() + 44, uint64_t(package->uninstaller->offset), 8);
    StoreLe(record.data() + 52, uint64_t(package->uninstaller->size), 8);
    StoreLe(record.data() + 60, package->uninstaller->checksum, 4);
  }
  return record;
}

bool UnpacksUninstaller(const uint8_t* record) { return (LoadLe(record + 20, 4) & kUnpacksUninstaller) != 0; }

bool IsPackageRecord(const uint8_t* bytes) {
  return std::memcmp(bytes, kMark, sizeof kMark) == 0 && LoadLe(bytes + 16, 4) == kFormat;
}

namespace {

// Beyond what a file offset holds: a damaged record.
bool InFileRange(uint64_t offset, uint64_t size) {
  return size != 0 && offset <= uint64_t(INT64_MAX) && size <= uint64_t(INT64_MAX) - offset;
}

}  // namespace

std::optional<EmbeddedPackage> DecodePackageRecord(const uint8_t* bytes) {
  if (!IsPackageRecord(bytes)) return std::nullopt;
  const uint64_t offset = LoadLe(bytes + 24, 8);
  const uint64_t size = LoadLe(bytes + 32, 8);
  if (!InFileRange(offset, size)) return std::nullopt;
  EmbeddedPackage package{int64_t(offset), int64_t(size), uint32_t(LoadLe(bytes + 40, 4)), std::nullopt};
  const uint64_t uninstallerOffset = LoadLe(bytes + 44, 8);
  const uint64_t uninstallerSize = LoadLe(bytes + 52, 8);
  if (uninstallerOffset != 0 || uninstallerSize != 0) {
    // The uninstaller comes after the package, and a record naming one elsewhere
    // is damaged as a whole.
    if (!InFileRange(uninstallerOffset, uninstallerSize) || uninstallerOffset < offset + size) return std::nullopt;
    package.uninstaller = CarriedBytes{int64_t(uninstallerOffset), int64_t(uninstallerSize),
                                       uint32_t(LoadLe(bytes + 60, 4)), (LoadLe(bytes + 20, 4) & kUninstallerPacked) != 0};
  }
  return package;
}

std::optional<uint32_t> PackageRecordOffset(const PeLayout& layout) {
  const PeSection* section = layout.FindSection(kPackageSection);
  if (section == nullptr || section->rawSize < kPackageRecordSize) return std::nullopt;
  return section->rawOffset;
}

namespace {

std::optional<EmbeddedPackage> ReadPackageRecord(archive::ReadableFile& program, const PeLayout& layout) {
  const std::optional<uint32_t> at = PackageRecordOffset(layout);
  PackageRecord record;
  if (!at || program.ReadAt(*at, record.data(), record.size()) != record.size()) return std::nullopt;
  return DecodePackageRecord(record.data());
}

// Where the program part of a file of `size` bytes ends: before a carried package
// and before a signature, whichever comes first.
int64_t ProgramPartEnd(int64_t size, const PeLayout& layout, const std::optional<EmbeddedPackage>& package) {
  int64_t end = size;
  if (package) end = std::min(end, package->offset);
  const PeDataDirectory signature = layout.Directory(kCertificateTable);
  if (signature.address != 0 && signature.size != 0) end = std::min<int64_t>(end, signature.address);
  return end;
}

}  // namespace

std::optional<EmbeddedPackage> ReadEmbeddedPackage(archive::ReadableFile& program) {
  const std::optional<PeLayout> layout = ReadPeLayout(program);
  if (!layout) return std::nullopt;
  return ReadPackageRecord(program, *layout);
}

namespace {

PackageIntegrity CheckBytes(archive::ReadableFile& program, const CarriedBytes& bytes) {
  if (program.Size() < bytes.offset || program.Size() - bytes.offset < bytes.size) return PackageIntegrity::kTruncated;
  std::vector<uint8_t> piece(kCheckPiece);
  PackageChecksum checksum;
  for (int64_t done = 0; done < bytes.size;) {
    const size_t want = static_cast<size_t>(std::min<int64_t>(int64_t(piece.size()), bytes.size - done));
    const size_t got = program.ReadAt(bytes.offset + done, piece.data(), want);
    if (got == 0) return PackageIntegrity::kTruncated;
    checksum.Update(piece.data(), got);
    done += int64_t(got);
  }
  return checksum.Value() == bytes.checksum ? PackageIntegrity::kIntact : PackageIntegrity::kDamaged;
}

}  // namespace

PackageIntegrity CheckEmbeddedPackage(archive::ReadableFile& program, const EmbeddedPackage& package) {
  const PackageIntegrity integrity = CheckBytes(program, {package.offset, package.size, package.checksum});
  if (integrity != PackageIntegrity::kIntact || !package.uninstaller) return integrity;
  return CheckBytes(program, *package.uninstaller);
}

int64_t ProgramPartLength(archive::ReadableFile& program) {
  const std::optional<PeLayout> layout = ReadPeLayout(program);
  if (!layout) return program.Size();
  return ProgramPartEnd(program.Size(), *layout, ReadPackageRecord(program, *layout));
}

void MakeBareProgram(std::vector<uint8_t>& bytes, const PeLayout& layout, uint32_t recordOffset) {
  // The record among the headers (a crafted section table) would have the blank
  // record written over them, and a cut there would leave fields to write outside
  // the bytes: no program of ours.
  const int64_t recordEnd = int64_t(recordOffset) + int64_t(kPackageRecordSize);
  if (recordOffset < layout.SectionTableEnd() || recordEnd > int64_t(bytes.size())) {
    throw std::runtime_error("the package record lies among the program's headers or beyond its end");
  }
  // A cut before the end of the record is no package or signature of ours.
  const size_t end = size_t(std::max(
      recordEnd, ProgramPartEnd(int64_t(bytes.size()), layout, DecodePackageRecord(bytes.data() + recordOffset))));
  if (layout.directories.size() > kCertificateTable) {
    std::fill_n(bytes.begin() + std::ptrdiff_t(layout.DirectoryEntry(kCertificateTable)), 8, 0);
  }
  const bool unpacks = UnpacksUninstaller(bytes.data() + recordOffset);
  bytes.resize(end);
  const PackageRecord blank = EncodePackageRecord(std::nullopt, unpacks);
  std::copy(blank.begin(), blank.end(), bytes.begin() + recordOffset);
  StoreLe(bytes.data() + layout.ChecksumField(), ProgramChecksum(bytes, layout.ChecksumField()), 4);
}

std::optional<std::vector<uint8_t>> BareInstallerOfSingleFile(archive::ReadableFile& program) {
  try {
    const std::optional<PeLayout> layout = ReadPeLayout(program);
    const std::optional<EmbeddedPackage> package = layout ? ReadPackageRecord(program, *layout) : std::nullopt;
    if (!package) return std::nullopt;
    const std::optional<uint32_t> record = PackageRecordOffset(*layout);
    std::vector<uint8_t> bytes(size_t(ProgramPartEnd(program.Size(), *layout, package)));
    if (!record || *record + kPackageRecordSize > bytes.size() ||
        program.ReadAt(0, bytes.data(), bytes.size()) != bytes.size()) {
      return std::nullopt;
    }
    MakeBareProgram(bytes, *layout, *record);
    return bytes;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::optional<std::vector<uint8_t>> UninstallerOfSingleFile(archive::ReadableFile& program) {
  try {
    const std::optional<EmbeddedPackage> package = ReadEmbeddedPackage(program);
    if (!package || !package->uninstaller) return BareInstallerOfSingleFile(program);
    const CarriedBytes& carried = *package->uninstaller;
    // The record's size is only believed as far as the file goes.
    if (program.Size() < carried.offset || program.Size() - carried.offset < carried.size) return std::nullopt;
    std::vector<uint8_t> bytes(size_t(carried.size));
    if (program.ReadAt(carried.offset, bytes.data(), bytes.size()) != bytes.size() ||
        ChecksumOf(bytes.data(), bytes.size()) != carried.checksum) {
      return std::nullopt;
    }
    if (carried.packed) return archive::UnpackXz(bytes, kLargestUninstaller);
    return bytes;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace setuvane
