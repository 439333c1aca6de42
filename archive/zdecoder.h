// Traditional PKWARE decryption (APPNOTE 6.1): three 32-bit keys driven by the
// password and then by every plain byte. A 12-byte encryption header precedes the
// entry's data; its last byte must equal the high byte of the entry's CRC-32, which
// is how a password is accepted before any data is decoded. A wrong password that
// passes this one-byte check (1 in 256) is caught later by the decoder or the CRC.
// Writers that stream an entry (general purpose bit 3) do not know its CRC when they
// write the header and put the high byte of the DOS time there instead (APPNOTE
// 6.1.6; Info-ZIP zip does so for every encrypted entry): for such entries either
// byte is accepted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "archive/file_system.h"

namespace setuvane::archive {

class TAbZDecoder {
 public:
  static constexpr size_t kHeaderSize = 12;
  // Asked after a failed attempt; may replace the password to try next.
  using NeedPasswordHandler = std::function<void(std::string& password)>;

  // `password` is keyed with its bytes as they are (Windows-1250 text).
  TAbZDecoder(const std::string& password, uint32_t crc, bool checkOneByte);

  void SetPassword(const std::string& value) { password_ = value; }
  const std::string& Password() const { return password_; }
  void SetRetries(uint8_t value) { retries_ = value; }
  void SetNeedPassword(NeedPasswordHandler handler) { onNeedPassword_ = std::move(handler); }
  // For an entry with general purpose bit 3: also accept the time's high byte.
  void AcceptTimeCheck(uint16_t dosTime) { timeCheck_ = static_cast<int>(dosTime >> 8); }

  // Verifies the header at `headerOffset` with up to Retries attempts, asking for a
  // new password after each failed one; throws EAbZipInvalidPassword when none is
  // accepted and EReadError when the file ends inside the header. On return the keys
  // are ready for the data that follows the header.
  void CheckPassword(ReadableFile& file, int64_t headerOffset);

  // Decrypts in place, continuing the key state (each byte exactly once, in order).
  void DecryptBuffer(uint8_t* bytes, size_t count);

 private:
  void InitKeys();
  bool HeaderMatches() const;

  uint32_t keys_[3] = {0, 0, 0};
  uint8_t header_[kHeaderSize] = {};
  uint32_t crc_;
  bool checkOneByte_;
  int timeCheck_ = -1;  // the alternative check byte, or -1
  std::string password_;
  uint8_t retries_ = 3;
  NeedPasswordHandler onNeedPassword_;
};

}  // namespace setuvane::archive
