#include "tests/archive/legacy_zip_reader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace setuvane::archive::testing {
namespace {

uint32_t Le(const std::vector<uint8_t>& bytes, size_t at, int width) {
  if (at + width > bytes.size()) throw std::runtime_error("truncated ZIP record");
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

}  // namespace

std::vector<RawZipEntry> ReadRawZipEntries(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

  if (bytes.size() < 22) throw std::runtime_error("not a ZIP file: " + path);
  size_t end = bytes.size() - 22;
  while (Le(bytes, end, 4) != 0x06054B50) {
    if (end == 0) throw std::runtime_error("no end of central directory in " + path);
    --end;
  }
  std::vector<RawZipEntry> entries;
  for (size_t at = Le(bytes, end + 16, 4); at < end;) {
    if (Le(bytes, at, 4) != 0x02014B50) throw std::runtime_error("bad central header in " + path);
    RawZipEntry entry;
    entry.flags = static_cast<uint16_t>(Le(bytes, at + 8, 2));
    entry.method = static_cast<uint16_t>(Le(bytes, at + 10, 2));
    entry.crc = Le(bytes, at + 16, 4);
    uint32_t compressed = Le(bytes, at + 20, 4);
    entry.uncompressedSize = Le(bytes, at + 24, 4);
    uint32_t nameLength = Le(bytes, at + 28, 2);
    uint32_t extraLength = Le(bytes, at + 30, 2);
    uint32_t commentLength = Le(bytes, at + 32, 2);
    size_t local = Le(bytes, at + 42, 4);
    entry.name.assign(bytes.begin() + at + 46, bytes.begin() + at + 46 + nameLength);
    size_t data = local + 30 + Le(bytes, local + 26, 2) + Le(bytes, local + 28, 2);
    if (data + compressed > bytes.size()) throw std::runtime_error("entry data past the end of " + path);
    entry.data.assign(bytes.begin() + data, bytes.begin() + data + compressed);
    entries.push_back(std::move(entry));
    at += 46 + nameLength + extraLength + commentLength;
  }
  return entries;
}

}  // namespace setuvane::archive::testing
