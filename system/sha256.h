// SHA-256 (FIPS 180-4), the digest that authenticates an uninstall record. Written
// here because the installer may use nothing but the C++ runtime: CryptoAPI gains
// SHA-256 only with Windows XP SP3. Bytes in, 32 bytes out; a context may be
// copied to take the digest of what it has seen so far and go on.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace setuvane {

class Sha256 {
 public:
  using Digest = std::array<std::uint8_t, 32>;

  void Update(std::string_view bytes);
  // The digest of everything updated so far; the context itself is left as it was.
  Digest Final() const;
  std::uint64_t Length() const { return length_; }

 private:
  void Compress(const std::uint8_t* block);

  std::uint32_t state_[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::uint8_t block_[64] = {};
  std::uint64_t length_ = 0;  // bytes updated
};

// The digest of `bytes` as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);
std::string DigestHex(const Sha256::Digest& digest);

}  // namespace setuvane
