#include "tools/exe/program_file.h"

#include <algorithm>
#include <stdexcept>

#include "core/package/package_checksum.h"
#include "tools/build/solid_writer.h"

namespace setuvane::pack {
namespace {

constexpr size_t kPackageAlignment = 8;

}  // namespace

ProgramFile::ProgramFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) { Reread(); }

void ProgramFile::Reread() {
  std::optional<PeLayout> layout = ReadPeLayout(bytes_.data(), bytes_.size());
  if (!layout) throw std::runtime_error("not a Windows program");
  const std::optional<uint32_t> record = PackageRecordOffset(*layout);
  if (!record || bytes_.size() - std::min<size_t>(*record, bytes_.size()) < kPackageRecordSize ||
      !IsPackageRecord(bytes_.data() + *record)) {
    throw std::runtime_error("not the installer program (it has no package record)");
  }
  layout_ = std::move(*layout);
  recordOffset_ = *record;
}

void ProgramFile::Put32(size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes_[at + size_t(i)] = static_cast<uint8_t>(value >> (8 * i));
}

void ProgramFile::WriteRecord(const std::optional<EmbeddedPackage>& package) {
  const PackageRecord record = EncodePackageRecord(package, UnpacksUninstaller(bytes_.data() + recordOffset_));
  std::copy(record.begin(), record.end(), bytes_.begin() + recordOffset_);
}

void ProgramFile::MakeBare() {
  MakeBareProgram(bytes_, layout_, recordOffset_);
  Reread();
}

std::pair<const PeSection*, size_t> ProgramFile::ResourceRoom() const {
  const PeDataDirectory directory = layout_.Directory(kResourceDirectory);
  const PeSection* section = layout_.SectionAt(directory.address);
  if (directory.address == 0 || section == nullptr || section->virtualAddress != directory.address) {
    throw std::runtime_error("the program has no resource section of its own");
  }
  // Room: the section's raw data, and no further than the next section's address.
  size_t room = section->rawSize;
  for (const PeSection& other : layout_.sections) {
    if (other.virtualAddress > section->virtualAddress) {
      room = std::min<size_t>(room, other.virtualAddress - section->virtualAddress);
    }
  }
  if (section->rawOffset > bytes_.size() || bytes_.size() - section->rawOffset < section->rawSize) {
    throw std::runtime_error("the resource section is cut short");
  }
  return {section, room};
}

std::vector<Resource> ProgramFile::Resources() const {
  const auto [section, room] = ResourceRoom();
  const auto first = bytes_.begin() + section->rawOffset;
  return ReadResources(std::vector<uint8_t>(first, first + room), section->virtualAddress);
}

void ProgramFile::ChangeResources(const std::function<void(std::vector<Resource>&)>& change) {
  const auto [section, room] = ResourceRoom();
  const auto first = bytes_.begin() + section->rawOffset;
  std::vector<Resource> resources = Resources();
  change(resources);
  const std::vector<uint8_t> written = WriteResources(std::move(resources), section->virtualAddress);
  if (written.size() > room) {
    throw std::runtime_error("the resources need " + std::to_string(written.size()) + " bytes, the section has " +
                             std::to_string(room));
  }
  std::fill(first, first + section->rawSize, 0);
  std::copy(written.begin(), written.end(), first);
  Put32(section->headerOffset + 8, uint32_t(written.size()));  // VirtualSize
  Put32(layout_.DirectoryEntry(kResourceDirectory) + 4, uint32_t(written.size()));
  Reread();
}

EmbeddedPackage ProgramFile::AppendPackage(const std::vector<uint8_t>& package) {
  bytes_.resize((bytes_.size() + kPackageAlignment - 1) / kPackageAlignment * kPackageAlignment, 0);
  const EmbeddedPackage place{int64_t(bytes_.size()), int64_t(package.size()), ChecksumOf(package.data(), package.size()),
                              std::nullopt};
  bytes_.insert(bytes_.end(), package.begin(), package.end());
  WriteRecord(place);
  return place;
}

void ProgramFile::CarryUninstaller(const std::vector<uint8_t>& signedProgram) {
  // Packed for a program that unpacks it: a third of its size.
  const bool packed = UnpacksUninstaller(bytes_.data() + recordOffset_);
  const std::vector<uint8_t> uninstaller = packed ? PackXz(signedProgram, true) : signedProgram;
  std::optional<EmbeddedPackage> package = DecodePackageRecord(bytes_.data() + recordOffset_);
  if (!package || package->offset + package->size > int64_t(bytes_.size())) {
    throw std::runtime_error("the program carries no package");
  }
  bytes_.resize(size_t(package->offset + package->size));
  if (layout_.directories.size() > kCertificateTable) {
    std::fill_n(bytes_.begin() + std::ptrdiff_t(layout_.DirectoryEntry(kCertificateTable)), 8, 0);
  }
  bytes_.resize((bytes_.size() + kPackageAlignment - 1) / kPackageAlignment * kPackageAlignment, 0);
  package->uninstaller = CarriedBytes{int64_t(bytes_.size()), int64_t(uninstaller.size()),
                                      ChecksumOf(uninstaller.data(), uninstaller.size()), packed};
  bytes_.insert(bytes_.end(), uninstaller.begin(), uninstaller.end());
  WriteRecord(package);
  Reread();
}

void ProgramFile::UpdateChecksum() { Put32(layout_.ChecksumField(), ProgramChecksum(bytes_, layout_.ChecksumField())); }

}  // namespace setuvane::pack
