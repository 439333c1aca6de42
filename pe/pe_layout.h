// pe/: Windows program files: the headers and sections (this file), the resource
// tree and the version resource. The installer reads its own file with it, and
// setuvane-pack reads and writes the installer's program with it; it uses only
// archive/'s file seam.
//
// The headers of a Windows program file (PE/COFF, as Microsoft's "PE Format"
// describes it), read far enough to find the installer's own data in it: the
// section table, the data directories, and the places of the fields that a tool
// writing a program file has to keep right (checksum, sizes). Nothing is loaded or
// run; every offset is checked against the bytes that were read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace setuvane {

namespace archive {
class ReadableFile;
}

struct PeSection {
  std::string name;  // up to eight characters, as in the section table
  uint32_t virtualSize = 0;
  uint32_t virtualAddress = 0;
  uint32_t rawSize = 0;
  uint32_t rawOffset = 0;
  uint32_t characteristics = 0;
  size_t headerOffset = 0;  // of this section's record in the section table
};

struct PeDataDirectory {
  uint32_t address = 0;  // an RVA; for the certificate table, a file offset
  uint32_t size = 0;
};

enum PeDirectoryIndex : int {
  kResourceDirectory = 2,
  kCertificateTable = 4,
  kBaseRelocationTable = 5,
};

struct PeLayout {
  // Offsets in the file.
  size_t optionalHeader = 0;
  size_t dataDirectories = 0;  // of the first directory entry
  size_t sectionTable = 0;
  size_t symbolTablePointer = 0;  // of the COFF header's PointerToSymbolTable field
  // Offsets of optional header fields, the same in PE32 and PE32+.
  size_t SectionAlignmentField() const { return optionalHeader + 32; }
  size_t FileAlignmentField() const { return optionalHeader + 36; }
  size_t SizeOfImageField() const { return optionalHeader + 56; }
  size_t SizeOfHeadersField() const { return optionalHeader + 60; }
  size_t ChecksumField() const { return optionalHeader + 64; }
  size_t DirectoryEntry(int index) const { return dataDirectories + 8 * size_t(index); }
  // Where the section table, the last of the headers read, ends.
  size_t SectionTableEnd() const { return sectionTable + 40 * sections.size(); }

  uint32_t sectionAlignment = 0;
  uint32_t fileAlignment = 0;
  uint32_t sizeOfHeaders = 0;
  std::vector<PeDataDirectory> directories;
  std::vector<PeSection> sections;

  const PeSection* FindSection(const std::string& name) const;
  // The section whose virtual range holds `rva`, or nullptr.
  const PeSection* SectionAt(uint32_t rva) const;
  // The file offset of `rva`, when a section's raw data holds it.
  std::optional<uint32_t> FileOffsetOf(uint32_t rva) const;
  PeDataDirectory Directory(int index) const {
    return index < int(directories.size()) ? directories[size_t(index)] : PeDataDirectory{};
  }
};

// The headers in `bytes`, the start of a program file (the whole of its headers
// must be there); nullopt when they are not those of a PE program.
std::optional<PeLayout> ReadPeLayout(const uint8_t* bytes, size_t size);
// The same from a file's first bytes.
std::optional<PeLayout> ReadPeLayout(archive::ReadableFile& file);

// The header checksum of a program file whose checksum field is at `checksumField`,
// as the image help library computes it.
uint32_t ProgramChecksum(const std::vector<uint8_t>& bytes, size_t checksumField);

}  // namespace setuvane
