// A small Windows program file made in memory for the tests of a package carried
// inside the installer: DOS header, PE32 headers, and the sections asked for (a
// ".svpkg" section with the blank package record, ".rsrc" as resource directory).
// Enough for the headers to be read and the file to be changed and signed; it is
// never run.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/file_system.h"
#include "core/package/embedded_package.h"
#include "core/package/package_checksum.h"
#include "pe/pe_layout.h"

namespace setuvane::fakes {

struct FakeSection {
  std::string name;
  std::vector<uint8_t> data;
  uint32_t rawSize = 0;  // at least the data, rounded up to 512
};

inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
inline void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}

inline FakeSection PackageRecordSection() {
  const PackageRecord blank = EncodePackageRecord(std::nullopt);
  return {".svpkg", std::vector<uint8_t>(blank.begin(), blank.end())};
}

// Sections in order at 0x1000, 0x2000, ... (one page each at least), raw data from
// 0x400 on in 512-byte steps.
inline std::vector<uint8_t> FakeProgram(std::vector<FakeSection> sections) {
  constexpr size_t kPe = 0x40, kOptional = kPe + 24, kTable = kOptional + 224;
  std::vector<uint8_t> b(0x400, 0);
  b[0] = 'M', b[1] = 'Z';
  Put32(b, 0x3C, kPe);
  b[kPe] = 'P', b[kPe + 1] = 'E';
  Put16(b, kPe + 4, 0x14C);  // i386
  Put16(b, kPe + 6, uint16_t(sections.size()));
  Put16(b, kPe + 20, 224);
  Put16(b, kPe + 22, 0x0102);  // executable, 32-bit
  Put16(b, kOptional, 0x10B);  // PE32
  Put32(b, kOptional + 16, 0x1000);    // entry point
  Put32(b, kOptional + 28, 0x400000);  // image base
  Put32(b, kOptional + 32, 0x1000);    // section alignment
  Put32(b, kOptional + 36, 0x200);     // file alignment
  Put16(b, kOptional + 40, 4);         // system version 4.0
  Put16(b, kOptional + 48, 4);
  Put32(b, kOptional + 60, 0x400);  // size of headers
  Put16(b, kOptional + 68, 2);      // GUI
  Put32(b, kOptional + 72, 0x100000);
  Put32(b, kOptional + 76, 0x1000);
  Put32(b, kOptional + 80, 0x100000);
  Put32(b, kOptional + 84, 0x1000);
  Put32(b, kOptional + 92, 16);  // data directories
  uint32_t address = 0x1000;
  for (size_t i = 0; i < sections.size(); ++i) {
    FakeSection& s = sections[i];
    const uint32_t raw = std::max<uint32_t>(s.rawSize, uint32_t((s.data.size() + 511) / 512 * 512));
    const size_t at = kTable + 40 * i;
    std::copy(s.name.begin(), s.name.end(), b.begin() + at);
    Put32(b, at + 8, uint32_t(s.data.size()));
    Put32(b, at + 12, address);
    Put32(b, at + 16, raw);
    Put32(b, at + 20, uint32_t(b.size()));
    Put32(b, at + 36, s.name == ".text" ? 0x60000020u : 0x40000040u);
    if (s.name == ".rsrc") {
      Put32(b, kOptional + 96 + 8 * 2, address);
      Put32(b, kOptional + 96 + 8 * 2 + 4, uint32_t(s.data.size()));
    }
    s.data.resize(raw, 0);
    b.insert(b.end(), s.data.begin(), s.data.end());
    address += (raw + 0xFFF) / 0x1000 * 0x1000;
  }
  Put32(b, kOptional + 56, address);  // size of image
  return b;
}

// The offset of the package record in a fake program.
inline size_t RecordOffset(const std::vector<uint8_t>& program) {
  const std::optional<PeLayout> layout = ReadPeLayout(program.data(), program.size());
  return layout ? PackageRecordOffset(*layout).value_or(0) : 0;
}

// A single file by hand: `package` appended to `program` and named in its record.
inline std::vector<uint8_t> WithPackage(std::vector<uint8_t> program, const std::vector<uint8_t>& package) {
  const size_t record = RecordOffset(program);
  const EmbeddedPackage place{int64_t(program.size()), int64_t(package.size()),
                              ChecksumOf(package.data(), package.size()), std::nullopt};
  const PackageRecord filled = EncodePackageRecord(place);
  std::copy(filled.begin(), filled.end(), program.begin() + record);
  program.insert(program.end(), package.begin(), package.end());
  return program;
}

// A program file's bytes read through the file seam.
struct ProgramBytes final : archive::ReadableFile {
  explicit ProgramBytes(std::vector<uint8_t> b) : bytes(std::move(b)) {}
  int64_t Size() const override { return int64_t(bytes.size()); }
  size_t ReadAt(int64_t offset, uint8_t* buffer, size_t length) override {
    const size_t n = offset >= Size() ? 0 : std::min(length, bytes.size() - size_t(offset));
    std::copy_n(bytes.begin() + offset, n, buffer);
    return n;
  }
  std::vector<uint8_t> bytes;
};

}  // namespace setuvane::fakes
