#include "tests/archive/zip_writer.h"

#include <algorithm>

#include "archive/crc32.h"

namespace setuvane::archive::testing {
namespace {

void Put16(Bytes& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutText(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// The cipher of APPNOTE 6.1, written independently of the product's decoder.
struct Keys {
  uint32_t k[3] = {0x12345678, 0x23456789, 0x34567890};
  static uint32_t Step(uint32_t c, uint8_t b) {
    c ^= b;
    for (int i = 0; i < 8; ++i) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    return c;
  }
  void Update(uint8_t plain) {
    k[0] = Step(k[0], plain);
    k[1] = (k[1] + (k[0] & 0xFF)) * 134775813u + 1;
    k[2] = Step(k[2], uint8_t(k[1] >> 24));
  }
  uint8_t Encrypt(uint8_t plain) {
    const uint32_t t = (k[2] & 0xFFFF) | 2;
    const uint8_t cipher = plain ^ uint8_t((t * (t ^ 1)) >> 8);
    Update(plain);
    return cipher;
  }
};

}  // namespace

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

uint32_t ZipCrc(const Bytes& data) { return ~Crc32Update(0xFFFFFFFF, data.data(), data.size()); }

Bytes DeflateStored(const Bytes& data) {
  Bytes out;
  size_t at = 0;
  do {
    const size_t n = std::min<size_t>(65535, data.size() - at);
    const bool final = at + n == data.size();
    out.push_back(final ? 1 : 0);
    Put16(out, uint32_t(n));
    Put16(out, uint32_t(~n & 0xFFFF));
    out.insert(out.end(), data.begin() + long(at), data.begin() + long(at + n));
    at += n;
  } while (at < data.size());
  return out;
}

Bytes Encrypt(const Bytes& plain, const std::string& password, uint8_t check) {
  Keys keys;
  for (const char c : password) keys.Update(uint8_t(c));
  Bytes out;
  for (int i = 0; i < 12; ++i) {
    const uint8_t header = i == 11 ? check : uint8_t(0x5A + 7 * i);
    out.push_back(keys.Encrypt(header));
  }
  for (const uint8_t b : plain) out.push_back(keys.Encrypt(b));
  return out;
}

BuiltZip BuildZip(const ZipLayout& layout) {
  BuiltZip zip;
  Bytes& out = zip.bytes;
  out = layout.prefix;
  std::vector<Bytes> central;
  for (const ZipEntryLayout& e : layout.entries) {
    const uint32_t crc = e.crc.value_or(ZipCrc(e.data));
    Bytes payload = e.method == 8 ? DeflateStored(e.data) : e.data;
    if (e.password) payload = Encrypt(payload, *e.password, uint8_t(e.timeCheckByte ? e.dosTime >> 8 : crc >> 24));
    if (e.rawPayload) payload = *e.rawPayload;
    const uint16_t flags = uint16_t((e.password ? 1 : 0) | e.extraFlags);
    const uint32_t compressed = e.compressedSize.value_or(uint32_t(payload.size()));
    const uint32_t uncompressed = e.uncompressedSize.value_or(uint32_t(e.data.size()));
    const uint32_t local = uint32_t(out.size());
    zip.localOffsets.push_back(local);
    Put32(out, 0x04034B50);
    Put16(out, e.versionNeeded);
    Put16(out, flags);
    Put16(out, e.method);
    Put16(out, e.dosTime);
    Put16(out, e.dosDate);
    Put32(out, crc);
    Put32(out, compressed);
    Put32(out, uncompressed);
    Put16(out, uint32_t(e.name.size()));
    Put16(out, uint32_t(e.localExtra.size()));
    PutText(out, e.name);
    PutText(out, e.localExtra);
    zip.dataOffsets.push_back(uint32_t(out.size()));
    out.insert(out.end(), payload.begin(), payload.end());

    Bytes c;
    Put32(c, 0x02014B50);
    Put16(c, 20);
    Put16(c, e.versionNeeded);
    Put16(c, flags);
    Put16(c, e.method);
    Put16(c, e.dosTime);
    Put16(c, e.dosDate);
    Put32(c, crc);
    Put32(c, compressed);
    Put32(c, uncompressed);
    Put16(c, uint32_t(e.name.size()));
    Put16(c, uint32_t(e.centralExtra.size()));
    Put16(c, 0);  // comment length
    Put16(c, 0);  // disk number start
    Put16(c, 0);  // internal attributes
    Put32(c, 0);  // external attributes
    Put32(c, e.localOffset.value_or(local));
    PutText(c, e.name);
    PutText(c, e.centralExtra);
    central.push_back(c);
  }
  zip.directoryOffset = uint32_t(out.size());
  for (const Bytes& c : central) out.insert(out.end(), c.begin(), c.end());
  zip.endRecordOffset = uint32_t(out.size());
  const uint16_t total = layout.totalEntries.value_or(uint16_t(layout.entries.size()));
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, total);
  Put16(out, total);
  Put32(out, zip.endRecordOffset - zip.directoryOffset);
  Put32(out, zip.directoryOffset);
  Put16(out, uint32_t(layout.comment.size()));
  PutText(out, layout.comment);
  return zip;
}

}  // namespace setuvane::archive::testing
