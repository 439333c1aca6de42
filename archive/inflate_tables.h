// Decoding tables of the inflate decoder: one 32-bit entry per table slot, looked up
// with the next (least significant first) bits of the stream. Internal to inflate.cpp
// and its tests.
//
// Entry layout:
//   bits  0..7   bits to consume: code length (of this level) plus extra bits; for a
//                sub-table pointer, the first-level bit count
//   bits  8..11  code length of this level, where the extra bits start; for a
//                sub-table pointer, the number of bits that index the sub-table
//   bit  12..15  flags below
//   bits 16..31  literal byte, length or distance base, code-length symbol, or the
//                index where a sub-table starts
// A first-level literal entry may hold two literals (kPairedLiteral): the first in
// bits 16..23 with its code length in bits 8..11, the second in bits 24..31, and
// bits 0..7 the length of both codes together.
#pragma once

#include <cstddef>
#include <cstdint>

namespace setuvane::archive::inflate {

inline constexpr uint32_t kEndOfBlock = 1u << 12;
inline constexpr uint32_t kSubtable = 1u << 13;
inline constexpr uint32_t kInvalid = 1u << 14;
inline constexpr uint32_t kLiteral = 1u << 15;
inline constexpr uint32_t kExceptional = kEndOfBlock | kSubtable | kInvalid;
inline constexpr uint32_t kPairedLiteral = kEndOfBlock;  // only ever together with kLiteral

inline constexpr int kMaxCodeLength = 15;

inline constexpr int kNumLitlenSymbols = 288;  // 286 and 287 exist only in fixed blocks
inline constexpr int kNumDistSymbols = 32;     // 30 and 31 exist only in fixed blocks
inline constexpr int kNumCodeLengthSymbols = 19;

// First-level sizes: most literal/length codes and nearly all distance codes are
// found with one lookup; code-length codes never pass 7 bits.
inline constexpr int kLitlenTableBits = 12;
inline constexpr int kDistTableBits = 8;
inline constexpr int kCodeLengthTableBits = 7;

// Slots for the first level and the sub-tables together, for any complete code. A
// sub-table of 2^k slots is made for codes whose deepest one is k bits past the
// first level, so it holds at least k + 1 codes; the slots per code grow with k, so
// the sub-tables can never take more than (codes / (kmax + 1) + 1) * 2^kmax slots.
constexpr size_t TableSize(int tableBits, int symbols) {
  const int deepest = kMaxCodeLength - tableBits;
  return (size_t{1} << tableBits) + (size_t(symbols / (deepest + 1)) + 1) * (size_t{1} << deepest);
}
inline constexpr size_t kLitlenTableSize = TableSize(kLitlenTableBits, kNumLitlenSymbols);
inline constexpr size_t kDistTableSize = TableSize(kDistTableBits, kNumDistSymbols);
inline constexpr size_t kCodeLengthTableSize = size_t{1} << kCodeLengthTableBits;

// What each symbol decodes to, before its code length is added: the value in bits
// 16..31, the flags, and the number of extra bits in bits 0..7 (SymbolEntry adds the
// code length to bits 0..7 and stores it in bits 8..11).
inline constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,
                                             15, 17, 19, 23, 27, 31, 35, 43, 51,  59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
inline constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                             2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
inline constexpr uint16_t kDistBase[30] = {1,    2,    3,    4,    5,    7,     9,     13,
                                           17,   25,   33,   49,   65,   97,    129,   193,
                                           257,  385,  513,  769,  1025, 1537,  2049,  3073,
                                           4097, 6145, 8193, 12289, 16385, 24577};
inline constexpr uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                           6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
static_assert(kDistBase[29] + (1 << kDistExtra[29]) - 1 == 32768, "farthest distance is 32 KiB");

struct SymbolTables {
  uint32_t litlen[kNumLitlenSymbols];
  uint32_t dist[kNumDistSymbols];
  uint32_t codeLength[kNumCodeLengthSymbols];
};

constexpr SymbolTables MakeSymbolTables() {
  SymbolTables t{};
  for (int s = 0; s < 256; ++s) t.litlen[s] = (uint32_t(s) << 16) | kLiteral;
  t.litlen[256] = kEndOfBlock;
  for (int s = 257; s < 286; ++s) t.litlen[s] = (uint32_t(kLengthBase[s - 257]) << 16) | kLengthExtra[s - 257];
  t.litlen[286] = t.litlen[287] = kInvalid;
  for (int s = 0; s < 30; ++s) t.dist[s] = (uint32_t(kDistBase[s]) << 16) | kDistExtra[s];
  t.dist[30] = t.dist[31] = kInvalid;
  for (int s = 0; s < kNumCodeLengthSymbols; ++s) t.codeLength[s] = uint32_t(s) << 16;
  return t;
}

inline constexpr SymbolTables kSymbols = MakeSymbolTables();

// The table entry of a symbol whose code has `length` bits at this table level.
constexpr uint32_t SymbolEntry(uint32_t symbol, int length) {
  return symbol + (uint32_t(length) << 8) + uint32_t(length);
}

// The slot value of an empty table: consumes one bit and fails.
inline constexpr uint32_t kEmptySlot = SymbolEntry(kInvalid, 1);

enum class TableResult { kComplete, kEmpty, kBad };

// Builds the table of a canonical Huffman code from its code lengths (0 = unused).
// kBad for an over-subscribed or incomplete set (or one that would not fit
// `capacity`, which a complete code never does); kEmpty when every length is 0, and
// then every first-level slot is kEmptySlot.
inline TableResult BuildTable(uint32_t* table, size_t capacity, int tableBits,
                              const uint8_t* lengths, const uint32_t* symbols, int count) {
  int lengthCount[kMaxCodeLength + 1] = {};
  for (int s = 0; s < count; ++s) ++lengthCount[lengths[s]];

  const size_t firstLevel = size_t{1} << tableBits;
  if (lengthCount[0] == count) {
    for (size_t i = 0; i < firstLevel; ++i) table[i] = kEmptySlot;
    return TableResult::kEmpty;
  }

  // Kraft sum: `left` is the number of unused codes of each length in turn.
  int left = 1;
  for (int len = 1; len <= kMaxCodeLength; ++len) {
    left = (left << 1) - lengthCount[len];
    if (left < 0) return TableResult::kBad;  // over-subscribed
  }
  if (left > 0) return TableResult::kBad;  // incomplete

  // Symbols in canonical order: by code length, then by symbol.
  int offset[kMaxCodeLength + 2] = {};
  for (int len = 1; len <= kMaxCodeLength; ++len) offset[len + 1] = offset[len] + lengthCount[len];
  uint16_t sorted[kNumLitlenSymbols];
  for (int s = 0; s < count; ++s) {
    if (lengths[s] != 0) sorted[offset[lengths[s]]++] = static_cast<uint16_t>(s);
  }
  const int used = count - lengthCount[0];

  const uint32_t rootMask = static_cast<uint32_t>(firstLevel - 1);
  size_t nextFree = firstLevel;                 // where the next sub-table goes
  uint32_t subPrefix = ~0u;                     // first-level slot of the current sub-table
  size_t subStart = 0;
  int subBits = 0;
  int remaining[kMaxCodeLength + 1];            // codes of each length not yet placed
  for (int len = 0; len <= kMaxCodeLength; ++len) remaining[len] = lengthCount[len];

  uint32_t code = 0;  // canonical code, most significant bit first
  for (int i = 0; i < used; ++i) {
    const int symbol = sorted[i];
    const int len = lengths[symbol];
    // The stream sends codes most significant bit first; the table is indexed by
    // the bits in arrival order, so the code is looked up reversed.
    uint32_t reversed = 0;
    for (int b = 0; b < len; ++b) reversed |= ((code >> b) & 1u) << (len - 1 - b);

    if (len <= tableBits) {
      const uint32_t entry = SymbolEntry(symbols[symbol], len);
      for (size_t slot = reversed; slot < firstLevel; slot += size_t{1} << len) table[slot] = entry;
    } else {
      const uint32_t prefix = reversed & rootMask;
      if (prefix != subPrefix) {
        // A new sub-table: wide enough for every remaining code that shares this
        // prefix, which (the code being complete) fill it exactly.
        int bits = len - tableBits;
        int room = 1 << bits;
        while (bits + tableBits < kMaxCodeLength) {
          room -= remaining[bits + tableBits];
          if (room <= 0) break;
          ++bits;
          room <<= 1;
        }
        subBits = bits;
        subStart = nextFree;
        nextFree += size_t{1} << subBits;
        if (nextFree > capacity) return TableResult::kBad;
        subPrefix = prefix;
        table[prefix] = (uint32_t(subStart) << 16) | kSubtable | (uint32_t(subBits) << 8) |
                        uint32_t(tableBits);
      }
      const int subLen = len - tableBits;
      const uint32_t entry = SymbolEntry(symbols[symbol], subLen);
      for (size_t slot = reversed >> tableBits; slot < (size_t{1} << subBits); slot += size_t{1} << subLen) {
        table[subStart + slot] = entry;
      }
    }
    --remaining[len];
    ++code;
    if (i + 1 < used) code <<= lengths[sorted[i + 1]] - len;
  }
  return TableResult::kComplete;
}

// Lets one lookup of the first level give two literals where both codes fit in its
// bits: the entry of slot i is followed by the code at slot i >> (first code length),
// which is fully known when the two lengths add up to at most `tableBits`.
inline void PairLiterals(uint32_t* table, int tableBits) {
  // Slots are visited downwards, so the slot read (i >> length, never above i) still
  // holds its single entry.
  for (size_t i = size_t{1} << tableBits; i-- > 0;) {
    const uint32_t first = table[i];
    if (!(first & kLiteral)) continue;
    const uint32_t firstLength = first & 0xFF;
    const uint32_t second = table[i >> firstLength];
    if (!(second & kLiteral) || firstLength + (second & 0xFF) > uint32_t(tableBits)) continue;
    table[i] = ((second >> 16) << 24) | (first & 0x00FF0000u) | kLiteral | kPairedLiteral |
               (firstLength << 8) | (firstLength + (second & 0xFF));
  }
}

}  // namespace setuvane::archive::inflate
