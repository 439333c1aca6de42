// The Shannon-Fano lookup against the search the imploded format describes: read a
// bit at a time and look through the sorted entries for one of exactly that many
// bits with that code; running off the end gives 0. Both must agree bit for bit on
// sound trees, on trees with 16-bit codes and on malformed (over- or under-full) ones.
#include <gtest/gtest.h>

#include <random>

#include "archive/shannon_fano_tree.h"
#include "tests/archive/memory_streams.h"

namespace setuvane::archive {
namespace {

using testing::MemorySource;
using Bytes = std::vector<uint8_t>;

// The format's search over the sorted entries; returns false when the bits run out.
bool SearchDecode(const std::vector<ShannonFanoTree::Entry>& entries, LsbBitReader& bits, uint32_t& value) {
  uint32_t code = 0;
  size_t at = 0;
  for (int read = 1;; ++read) {
    uint32_t bit;
    if (!bits.Read(1, bit)) return false;
    code |= bit << (read - 1);
    for (; at < entries.size() && entries[at].bits <= read; ++at) {
      if (entries[at].bits == read && entries[at].code == code) {
        value = entries[at].value;
        return true;
      }
    }
    if (at == entries.size()) {
      value = 0;
      return true;
    }
  }
}

void ExpectSameAsSearch(const Bytes& lengths, const Bytes& stream) {
  ShannonFanoTree tree;
  tree.Build(lengths.data(), static_cast<int>(lengths.size()));
  // One byte per read: every byte fetched is in the bit buffer, so the bits used are
  // Position() * 8 - Available().
  MemorySource fastSource(stream, 1), searchSource(stream, 1);
  LsbBitReader fast(fastSource), search(searchSource);
  for (int symbol = 0;; ++symbol) {
    uint32_t fastValue = 0xFFFF, searchValue = 0xFFFF;
    bool fastOk = tree.Decode(fast, fastValue);
    bool searchOk = SearchDecode(tree.Entries(), search, searchValue);
    ASSERT_EQ(fastOk, searchOk) << "symbol " << symbol;
    if (!fastOk) return;
    ASSERT_EQ(fastValue, searchValue) << "symbol " << symbol;
    ASSERT_EQ(fastSource.Position() * 8 - fast.Available(), searchSource.Position() * 8 - search.Available())
        << "bits used by symbol " << symbol;
  }
}

Bytes RandomBytes(std::mt19937& random, size_t size) {
  Bytes out(size);
  for (auto& b : out) b = static_cast<uint8_t>(random());
  return out;
}

TEST(LegacyShannonFano, CodesCountUpFromTheLongestEntry) {
  // Sorted: value 1 (1 bit), 2 (2 bits), 0 and 3 (3 bits). Codes from the last entry
  // backwards: 3 -> 000, 0 -> 001, 2 -> 01, 1 -> 1 (first bit read on the left).
  const Bytes lengths = {3, 1, 2, 3};
  ShannonFanoTree tree;
  tree.Build(lengths.data(), 4);
  std::vector<std::pair<uint8_t, uint16_t>> got;
  for (const auto& e : tree.Entries()) got.push_back({e.value, e.code});
  std::vector<std::pair<uint8_t, uint16_t>> expected = {{1, 0b1}, {2, 0b10}, {0, 0b100}, {3, 0b000}};
  EXPECT_EQ(got, expected);
}

TEST(LegacyShannonFano, LookupMatchesTheSearch) {
  std::mt19937 random(1995);
  // Sound trees, among them ones with 16-bit codes: 1, 2, ..., 15, 16, 16 bits.
  Bytes deep;
  for (int bits = 1; bits <= 16; ++bits) deep.push_back(static_cast<uint8_t>(bits));
  deep.push_back(16);
  ExpectSameAsSearch(deep, RandomBytes(random, 4000));
  ExpectSameAsSearch(Bytes(64, 6), RandomBytes(random, 4000));
  ExpectSameAsSearch(Bytes(256, 8), RandomBytes(random, 4000));
  // Malformed trees: random lengths leave gaps (running off the end) and overlaps.
  for (int round = 0; round < 200; ++round) {
    Bytes lengths(round % 2 ? 64 : 256);
    int longest = 1 + static_cast<int>(random() % 16);
    for (auto& l : lengths) l = static_cast<uint8_t>(1 + random() % longest);
    lengths.resize(1 + random() % lengths.size());
    ExpectSameAsSearch(lengths, RandomBytes(random, 600));
  }
}

}  // namespace
}  // namespace setuvane::archive
