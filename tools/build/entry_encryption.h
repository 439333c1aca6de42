// Traditional PKWARE encryption of one entry (APPNOTE 6.1): a 12-byte header of
// eleven random bytes and the high byte of the entry's CRC-32 (the byte a reader
// checks the password against), then the data, all encrypted with the keys of the
// password, which every plain byte drives on.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace setuvane::pack {

inline constexpr size_t kEncryptionHeaderSize = 12;

// The header and `data`, encrypted under `password` (its bytes as they are).
std::vector<uint8_t> EncryptEntry(const std::string& password, const std::array<uint8_t, 11>& randomBytes,
                                  uint32_t crc, const uint8_t* data, size_t size);

}  // namespace setuvane::pack
