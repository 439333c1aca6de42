#include "archive/zdecoder.h"

#include "archive/crc32.h"
#include "archive/exceptions.h"
#include "archive/runtime_errors.h"

namespace setuvane::archive {
namespace {

// The key byte that the cipher adds to the next byte, from key 2 (APPNOTE 6.1.5).
inline uint8_t KeyByte(uint32_t key2) {
  const uint32_t t = (key2 & 0xFFFF) | 2;
  return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
}

// One plain byte into the keys (APPNOTE 6.1.3). Kept inline and on locals in the
// loop of DecryptBuffer, which is on the hot path of every encrypted entry.
inline void Update(uint32_t& k0, uint32_t& k1, uint32_t& k2, uint8_t plain) {
  k0 = Crc32Step(k0, plain);
  k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
  k2 = Crc32Step(k2, static_cast<uint8_t>(k1 >> 24));
}

}  // namespace

TAbZDecoder::TAbZDecoder(const std::string& password, uint32_t crc, bool checkOneByte)
    : crc_(crc), checkOneByte_(checkOneByte), password_(password) {}

void TAbZDecoder::InitKeys() {
  keys_[0] = 0x12345678;
  keys_[1] = 0x23456789;
  keys_[2] = 0x34567890;
  for (const char c : password_) UpdateKeys(static_cast<uint8_t>(c));
}

void TAbZDecoder::UpdateKeys(uint8_t plain) { Update(keys_[0], keys_[1], keys_[2], plain); }

bool TAbZDecoder::HeaderMatches() const {
  if (checkOneByte_ && header_[11] == timeCheck_) return true;
  if (header_[11] != static_cast<uint8_t>(crc_ >> 24)) return false;
  return checkOneByte_ || header_[10] == static_cast<uint8_t>(crc_ >> 16);
}

void TAbZDecoder::CheckPassword(ReadableFile& file, int64_t headerOffset) {
  bool accepted = false;
  for (int attempts = 0; !accepted && attempts < retries_; ++attempts) {
    InitKeys();
    if (file.ReadAt(headerOffset, header_, kHeaderSize) != kHeaderSize) throw EReadError();
    DecryptBuffer(header_, kHeaderSize);
    accepted = HeaderMatches();
    if (!accepted) {
      if (!onNeedPassword_) throw EAbZipInvalidPassword();
      onNeedPassword_(password_);
    }
  }
  if (!accepted) throw EAbZipInvalidPassword();
}

void TAbZDecoder::DecryptBuffer(uint8_t* bytes, size_t count) {
  uint32_t k0 = keys_[0], k1 = keys_[1], k2 = keys_[2];
  for (size_t i = 0; i < count; ++i) {
    const uint8_t plain = bytes[i] ^ KeyByte(k2);
    bytes[i] = plain;
    Update(k0, k1, k2, plain);
  }
  keys_[0] = k0;
  keys_[1] = k1;
  keys_[2] = k2;
}

}  // namespace setuvane::archive
