// Every block of VS_VERSIONINFO has the same shape: its length in bytes (wLength),
// the length of its value (wValueLength: bytes for binary data, characters with the
// final zero for text), its type (1 text, 0 binary), its key as UTF-16 with a final
// zero, padding to a 4-byte boundary, the value, padding, then its children, each
// starting on a 4-byte boundary. wLength runs to the end of the last child.
#include "pe/version_info.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>

namespace setuvane {
namespace {

constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr uint32_t kFixedStructVersion = 0x00010000;
constexpr uint32_t kFileFlagsMask = 0x3F;
constexpr uint32_t kOsWindows32 = 0x00000004;  // VOS__WINDOWS32: every 32-bit Windows
constexpr uint32_t kFileTypeApp = 0x00000001;  // VFT_APP

class Writer {
 public:
  std::vector<uint8_t> bytes;

  void U16(uint16_t v) {
    bytes.push_back(uint8_t(v));
    bytes.push_back(uint8_t(v >> 8));
  }
  void U32(uint32_t v) {
    U16(uint16_t(v));
    U16(uint16_t(v >> 16));
  }
  void Text(const std::u16string& text) {
    for (char16_t c : text) U16(uint16_t(c));
    U16(0);
  }
  void Pad() {
    while (bytes.size() % 4 != 0) bytes.push_back(0);
  }
  // Starts a block; returns its place for End().
  size_t Begin(const std::u16string& key, uint16_t valueLength, uint16_t type) {
    Pad();
    const size_t at = bytes.size();
    U16(0);
    U16(valueLength);
    U16(type);
    Text(key);
    Pad();
    return at;
  }
  void End(size_t at) {
    const size_t length = bytes.size() - at;
    if (length > 0xFFFF) throw std::runtime_error("the version texts are too long");
    bytes[at] = uint8_t(length);
    bytes[at + 1] = uint8_t(length >> 8);
  }
};

}  // namespace

std::vector<uint8_t> WriteVersionInfo(const VersionInfo& info) {
  Writer w;
  const size_t root = w.Begin(u"VS_VERSION_INFO", 52, 0);
  w.U32(kFixedSignature);
  w.U32(kFixedStructVersion);
  w.U32(uint32_t(info.fileVersion[0]) << 16 | info.fileVersion[1]);
  w.U32(uint32_t(info.fileVersion[2]) << 16 | info.fileVersion[3]);
  w.U32(uint32_t(info.productVersion[0]) << 16 | info.productVersion[1]);
  w.U32(uint32_t(info.productVersion[2]) << 16 | info.productVersion[3]);
  w.U32(kFileFlagsMask);
  w.U32(0);  // flags
  w.U32(kOsWindows32);
  w.U32(kFileTypeApp);
  w.U32(0);  // subtype
  w.U32(0);  // date, high
  w.U32(0);  // date, low

  const size_t stringFileInfo = w.Begin(u"StringFileInfo", 0, 1);
  char table[9];
  std::snprintf(table, sizeof table, "%04X%04X", info.language, info.codePage);
  const size_t stringTable = w.Begin(std::u16string(table, table + 8), 0, 1);
  for (const auto& [key, value] : info.strings) {
    if (value.size() >= 0xFFFF) throw std::runtime_error("the version texts are too long");
    const size_t string = w.Begin(key, uint16_t(value.size() + 1), 1);
    w.Text(value);
    w.End(string);
  }
  w.End(stringTable);
  w.End(stringFileInfo);

  const size_t varFileInfo = w.Begin(u"VarFileInfo", 0, 1);
  const size_t translation = w.Begin(u"Translation", 4, 0);
  w.U16(info.language);
  w.U16(info.codePage);
  w.End(translation);
  w.End(varFileInfo);
  w.End(root);
  return w.bytes;
}

std::array<uint16_t, 4> VersionNumbers(const std::string& text) {
  std::array<uint16_t, 4> numbers{};
  size_t at = 0;
  for (int part = 0; part < 4; ++part) {
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) break;
    uint32_t value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
      value = std::min<uint32_t>(value * 10 + uint32_t(text[at++] - '0'), 0xFFFF);
    }
    numbers[size_t(part)] = uint16_t(value);
    if (at >= text.size() || text[at] != '.') break;
    ++at;
  }
  return numbers;
}

}  // namespace setuvane
