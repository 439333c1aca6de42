// XXH32 as its authors describe it: four lanes take 16-byte stripes (each 32-bit
// word multiplied, rotated, multiplied), then the lanes are merged, the length and
// the tail of fewer than 16 bytes are mixed in, and the result is avalanched.
#include "core/package/package_checksum.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace setuvane {
namespace {

constexpr uint32_t kPrime1 = 0x9E3779B1u;
constexpr uint32_t kPrime2 = 0x85EBCA77u;
constexpr uint32_t kPrime3 = 0xC2B2AE3Du;
constexpr uint32_t kPrime4 = 0x27D4EB2Fu;
constexpr uint32_t kPrime5 = 0x165667B1u;

static_assert(std::endian::native == std::endian::little, "the words are read as little-endian loads");

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline uint32_t Round(uint32_t lane, uint32_t input) { return std::rotl(lane + input * kPrime2, 13) * kPrime1; }

// Folds whole 16-byte stripes into the lanes; returns the bytes used.
inline size_t Stripes(uint32_t (&lanes)[4], const uint8_t* data, size_t length) {
  uint32_t a = lanes[0], b = lanes[1], c = lanes[2], d = lanes[3];
  size_t done = 0;
  for (; length - done >= 16; done += 16) {
    a = Round(a, Load32(data + done));
    b = Round(b, Load32(data + done + 4));
    c = Round(c, Load32(data + done + 8));
    d = Round(d, Load32(data + done + 12));
  }
  lanes[0] = a, lanes[1] = b, lanes[2] = c, lanes[3] = d;
  return done;
}

}  // namespace

void PackageChecksum::Update(const uint8_t* data, size_t length) {
  if (length == 0) return;  // `data` may then be null, which memcpy must never see
  total_ += length;
  if (pendingCount_ > 0) {
    const size_t taken = std::min(length, sizeof pending_ - pendingCount_);
    std::memcpy(pending_ + pendingCount_, data, taken);
    pendingCount_ += taken;
    data += taken;
    length -= taken;
    if (pendingCount_ < sizeof pending_) return;
    Stripes(lanes_, pending_, sizeof pending_);
    pendingCount_ = 0;
  }
  const size_t done = Stripes(lanes_, data, length);
  pendingCount_ = length - done;
  std::memcpy(pending_, data + done, pendingCount_);
}

uint32_t PackageChecksum::Value() const {
  uint32_t h = total_ >= 16 ? std::rotl(lanes_[0], 1) + std::rotl(lanes_[1], 7) + std::rotl(lanes_[2], 12) +
                                  std::rotl(lanes_[3], 18)
                            : lanes_[2] + kPrime5;  // lanes_[2] starts as the seed; under 16 bytes nothing changed it
  h += static_cast<uint32_t>(total_);
  const uint8_t* p = pending_;
  const uint8_t* end = pending_ + pendingCount_;
  for (; end - p >= 4; p += 4) h = std::rotl(h + Load32(p) * kPrime3, 17) * kPrime4;
  for (; p < end; ++p) h = std::rotl(h + *p * kPrime5, 11) * kPrime1;
  h ^= h >> 15;
  h *= kPrime2;
  h ^= h >> 13;
  h *= kPrime3;
  h ^= h >> 16;
  return h;
}

uint32_t ChecksumOf(const uint8_t* data, size_t length) {
  PackageChecksum checksum;
  checksum.Update(data, length);
  return checksum.Value();
}

}  // namespace setuvane
