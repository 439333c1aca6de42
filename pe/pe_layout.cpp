#include "pe/pe_layout.h"

#include <algorithm>
#include <vector>

#include "archive/file_system.h"

namespace setuvane {
namespace {

constexpr size_t kHeaderReadLimit = 64 * 1024;  // headers larger than this are not a program of ours
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

}  // namespace

const PeSection* PeLayout::FindSection(const std::string& name) const {
  for (const PeSection& section : sections) {
    if (section.name == name) return &section;
  }
  return nullptr;
}

const PeSection* PeLayout::SectionAt(uint32_t rva) const {
  for (const PeSection& section : sections) {
    const uint32_t extent = std::max(section.virtualSize, section.rawSize);
    if (rva >= section.virtualAddress && rva - section.virtualAddress < extent) return &section;
  }
  return nullptr;
}

std::optional<uint32_t> PeLayout::FileOffsetOf(uint32_t rva) const {
  const PeSection* section = SectionAt(rva);
  if (section == nullptr || rva - section->virtualAddress >= section->rawSize) return std::nullopt;
  return section->rawOffset + (rva - section->virtualAddress);
}

std::optional<PeLayout> ReadPeLayout(const uint8_t* bytes, size_t size) {
  if (size < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z') return std::nullopt;
  const size_t pe = U32(bytes + 0x3C);
  if (pe > size || size - pe < 24 || U32(bytes + pe) != 0x00004550) return std::nullopt;  // "PE\0\0"
  const size_t coff = pe + 4;
  const uint16_t sectionCount = U16(bytes + coff + 2);
  const uint16_t optionalSize = U16(bytes + coff + 16);
  PeLayout layout;
  layout.symbolTablePointer = coff + 8;
  layout.optionalHeader = coff + 20;
  layout.sectionTable = layout.optionalHeader + optionalSize;
  if (layout.sectionTable > size || (size - layout.sectionTable) / 40 < sectionCount) return std::nullopt;
  const uint8_t* optional = bytes + layout.optionalHeader;
  if (optionalSize < 2) return std::nullopt;
  const uint16_t magic = U16(optional);
  size_t countField;
  if (magic == kPe32Magic) {
    countField = 92;
  } else if (magic == kPe32PlusMagic) {
    countField = 108;
  } else {
    return std::nullopt;
  }
  if (optionalSize < countField + 4) return std::nullopt;
  layout.sectionAlignment = U32(optional + 32);
  layout.fileAlignment = U32(optional + 36);
  layout.sizeOfHeaders = U32(optional + 60);
  const uint32_t directoryCount = U32(optional + countField);
  if (directoryCount > (optionalSize - countField - 4) / 8) return std::nullopt;
  layout.dataDirectories = layout.optionalHeader + countField + 4;
  for (uint32_t i = 0; i < directoryCount; ++i) {
    const uint8_t* entry = bytes + layout.dataDirectories + 8 * i;
    layout.directories.push_back({U32(entry), U32(entry + 4)});
  }
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const size_t at = layout.sectionTable + 40 * size_t(i);
    const uint8_t* record = bytes + at;
    PeSection section;
    section.name.assign(reinterpret_cast<const char*>(record), 8);
    section.name.resize(std::min(section.name.find('\0'), section.name.size()));
    section.virtualSize = U32(record + 8);
    section.virtualAddress = U32(record + 12);
    section.rawSize = U32(record + 16);
    section.rawOffset = U32(record + 20);
    section.characteristics = U32(record + 36);
    section.headerOffset = at;
    layout.sections.push_back(std::move(section));
  }
  return layout;
}

std::optional<PeLayout> ReadPeLayout(archive::ReadableFile& file) {
  std::vector<uint8_t> head(static_cast<size_t>(std::min<int64_t>(file.Size(), kHeaderReadLimit)));
  head.resize(file.ReadAt(0, head.data(), head.size()));
  return ReadPeLayout(head.data(), head.size());
}

uint32_t ProgramChecksum(const std::vector<uint8_t>& bytes, size_t checksumField) {
  uint64_t sum = 0;
  const size_t words = bytes.size() / 2;
  for (size_t i = 0; i < words; ++i) {
    const size_t at = 2 * i;
    if (at == checksumField || at == checksumField + 2) continue;
    sum += uint32_t(bytes[at] | bytes[at + 1] << 8);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  if (bytes.size() % 2 != 0) {
    sum += bytes.back();
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + bytes.size());
}

}  // namespace setuvane
