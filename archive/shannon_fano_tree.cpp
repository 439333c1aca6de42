#include "archive/shannon_fano_tree.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace setuvane::archive {
namespace {

// Codes of up to this many bits are found with one lookup; longer ones with two.
constexpr int kPrimaryBits = 9;

uint16_t Reverse16(uint16_t code) {
  uint16_t reversed = 0;
  for (int i = 0; i < 16; ++i) {
    reversed = static_cast<uint16_t>((reversed << 1) | (code & 1));
    code >>= 1;
  }
  return reversed;
}

}  // namespace

bool ShannonFanoTree::Read(LsbBitReader& bits, int size) {
  std::array<uint8_t, 256> lengths{};
  int count = 0;
  uint32_t runs;
  if (!bits.Read(8, runs)) return false;
  for (uint32_t i = 0; i <= runs; ++i) {
    uint32_t run;
    if (!bits.Read(8, run)) return false;
    int length = static_cast<int>(run & 0x0F) + 1;
    for (uint32_t n = (run >> 4) + 1; n > 0 && count < size; --n) lengths[count++] = static_cast<uint8_t>(length);
  }
  Build(lengths.data(), count);
  return true;
}

void ShannonFanoTree::Build(const uint8_t* lengths, int count) {
  entries_.clear();
  for (int value = 0; value < count; ++value) {
    entries_.push_back({0, lengths[value], static_cast<uint8_t>(value)});
  }
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.bits < b.bits; });

  // Codes from the longest entry backwards: each step adds the increment of the
  // previous length, so equal lengths count up and a shorter length starts at the
  // next multiple of its own step. 16-bit arithmetic, as the format's encoders use.
  uint16_t code = 0, increment = 0;
  int lastBits = 0;
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    code = static_cast<uint16_t>(code + increment);
    if (entry->bits != lastBits) {
      lastBits = entry->bits;
      increment = static_cast<uint16_t>(1u << (kMaxCodeBits - lastBits));
    }
    entry->code = Reverse16(code);
  }
  BuildLookup();
}

// Fills the lookup tables so that each bit pattern finds what the search of the
// sorted entries finds: the shortest code that matches, the first such entry in
// search order. Entries are visited in search order and only fill empty slots.
void ShannonFanoTree::BuildLookup() {
  maxBits_ = entries_.empty() ? 1 : std::max<int>(1, entries_.back().bits);
  primaryBits_ = std::min(maxBits_, kPrimaryBits);
  primaryMask_ = (1u << primaryBits_) - 1;
  slots_.assign(size_t{1} << primaryBits_, Slot{});

  auto matches = [](const Entry& e) { return (e.code >> e.bits) == 0; };

  for (const Entry& e : entries_) {
    if (e.bits > primaryBits_ || !matches(e)) continue;
    for (uint32_t i = e.code; i <= primaryMask_; i += 1u << e.bits) {
      if (slots_[i].bits == 0) slots_[i] = {e.value, e.bits, 0};
    }
  }

  // Second level: one table per primary pattern that longer codes start with,
  // wide enough for the longest of them. A pattern taken by a short code hides them.
  std::vector<uint8_t> width(size_t{1} << primaryBits_, 0);
  for (const Entry& e : entries_) {
    if (e.bits <= primaryBits_ || !matches(e)) continue;
    uint32_t prefix = e.code & primaryMask_;
    if (slots_[prefix].bits != 0) continue;
    width[prefix] = std::max<uint8_t>(width[prefix], static_cast<uint8_t>(e.bits - primaryBits_));
  }
  for (uint32_t prefix = 0; prefix <= primaryMask_; ++prefix) {
    if (width[prefix] == 0) continue;
    slots_[prefix] = {static_cast<uint16_t>(slots_.size()), 0, width[prefix]};
    slots_.resize(slots_.size() + (size_t{1} << width[prefix]));
  }
  for (const Entry& e : entries_) {
    if (e.bits <= primaryBits_ || !matches(e)) continue;
    const Slot link = slots_[e.code & primaryMask_];
    if (link.subBits == 0) continue;
    int rest = e.bits - primaryBits_;
    for (uint32_t i = e.code >> primaryBits_; i < (1u << link.subBits); i += 1u << rest) {
      Slot& slot = slots_[link.value + i];
      if (slot.bits == 0) slot = {e.value, e.bits, 0};
    }
  }
}

}  // namespace setuvane::archive
