// Shannon-Fano trees of the imploded method (ZIP method 6, PKWARE APPNOTE). A tree is
// sent as runs of bit lengths (1 to 16); the values are sorted by bit length, ties by
// value, and given codes from the longest entry backwards in 16-bit arithmetic. The
// decoder of the format reads a code bit by bit and searches the sorted tree for an
// entry of exactly that many bits with that code; running off the end of the tree
// gives the value 0 after as many bits as the longest code. Decode() gives the same
// answers from a two-level lookup table instead of the search.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/lsb_bit_reader.h"

namespace setuvane::archive {

class ShannonFanoTree {
 public:
  static constexpr int kMaxCodeBits = 16;

  // One value of the tree in search order, its code bit-reversed so that the first
  // bit read is bit 0. A code with bits set at or above `bits` never matches.
  struct Entry {
    uint16_t code;
    uint8_t bits;
    uint8_t value;
  };

  // Reads the run-length description of a tree of `size` values (at most 256):
  // one byte giving the number of run bytes minus 1, then per run byte the bit
  // length minus 1 (low nibble) and the number of values minus 1 (high nibble).
  // Runs beyond `size` values are ignored. False when the input ends first.
  bool Read(LsbBitReader& bits, int size);

  // Builds the tree from the bit lengths (1..16) of the values 0..count-1.
  void Build(const uint8_t* lengths, int count);

  // The entries in the order the format searches them.
  const std::vector<Entry>& Entries() const { return entries_; }

  // Decodes one value; false when the input ends inside the code.
  bool Decode(LsbBitReader& bits, uint32_t& value) const {
    if (!bits.Ensure(maxBits_) && bits.Available() == 0) return false;
    uint32_t peek = bits.Peek(maxBits_);
    Slot slot = slots_[peek & primaryMask_];
    if (slot.subBits != 0) {
      slot = slots_[slot.value + ((peek >> primaryBits_) & ((1u << slot.subBits) - 1))];
    }
    int used = slot.bits != 0 ? slot.bits : maxBits_;
    if (used > bits.Available()) return false;
    bits.Drop(used);
    value = slot.value;
    return true;
  }

 private:
  // A lookup slot: a leaf (bits != 0: the value and its code length), a link to a
  // second-level table (subBits != 0: its start in slots_ and its index width), or
  // no match (both 0: the value 0 after maxBits_ bits).
  struct Slot {
    uint16_t value = 0;
    uint8_t bits = 0;
    uint8_t subBits = 0;
  };

  void BuildLookup();

  std::vector<Entry> entries_;
  std::vector<Slot> slots_;  // the primary table, then the second-level tables
  int maxBits_ = 1;
  int primaryBits_ = 1;
  uint32_t primaryMask_ = 1;
};

}  // namespace setuvane::archive
