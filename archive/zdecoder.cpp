#include "archive/zdecoder.h"

#include "archive/exceptions.h"
#include "archive/runtime_errors.h"
#include "archive/zip_cipher.h"

namespace setuvane::archive {

TAbZDecoder::TAbZDecoder(const std::string& password, uint32_t crc, bool checkOneByte)
    : crc_(crc), checkOneByte_(checkOneByte), password_(password) {}

void TAbZDecoder::InitKeys() {
  const ZipCipherKeys keys = ZipKeysFor(password_);
  keys_[0] = keys.k0;
  keys_[1] = keys.k1;
  keys_[2] = keys.k2;
}

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
    const uint8_t plain = bytes[i] ^ ZipKeyByte(k2);
    bytes[i] = plain;
    UpdateZipKeys(k0, k1, k2, plain);
  }
  keys_[0] = k0;
  keys_[1] = k1;
  keys_[2] = k2;
}

}  // namespace setuvane::archive
