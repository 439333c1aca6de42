#include "tools/build/entry_encryption.h"

#include "archive/zip_cipher.h"

namespace setuvane::pack {

std::vector<uint8_t> EncryptEntry(const std::string& password, const std::array<uint8_t, 11>& randomBytes,
                                  uint32_t crc, const uint8_t* data, size_t size) {
  std::vector<uint8_t> out(kEncryptionHeaderSize + size);
  std::copy(randomBytes.begin(), randomBytes.end(), out.begin());
  out[11] = static_cast<uint8_t>(crc >> 24);
  std::copy(data, data + size, out.begin() + kEncryptionHeaderSize);
  archive::ZipCipherKeys keys = archive::ZipKeysFor(password);
  uint32_t k0 = keys.k0, k1 = keys.k1, k2 = keys.k2;
  for (uint8_t& byte : out) {
    const uint8_t plain = byte;
    byte = plain ^ archive::ZipKeyByte(k2);
    archive::UpdateZipKeys(k0, k1, k2, plain);
  }
  return out;
}

}  // namespace setuvane::pack
