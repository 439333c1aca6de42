#include "tests/archive/legacy_encoders.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <functional>
#include <queue>
#include <unordered_map>

namespace setuvane::archive::testing {

void LsbBitWriter::Put(uint32_t value, int count) {
  assert(count <= 32);
  pending_ |= uint64_t{value & static_cast<uint32_t>((uint64_t{1} << count) - 1)} << pendingBits_;
  pendingBits_ += count;
  while (pendingBits_ >= 8) {
    bytes_.push_back(static_cast<uint8_t>(pending_));
    pending_ >>= 8;
    pendingBits_ -= 8;
  }
}

std::vector<uint8_t> LsbBitWriter::Finish() {
  if (pendingBits_ > 0) Put(0, 8 - pendingBits_);
  return std::move(bytes_);
}

namespace {

// ---- Shared LZ77 parse --------------------------------------------------------

struct Token {
  size_t length = 0;  // 0: a literal
  size_t distance = 0;
  uint8_t literal = 0;
};

// Greedy parse with hash chains. The `reach` bytes before the data count as zeros,
// so data that starts with zeros is coded with copies reaching before the start.
std::vector<Token> Parse(const std::vector<uint8_t>& data, size_t reach, size_t minLength, size_t maxLength,
                         const std::function<bool(size_t, size_t)>& usable) {
  std::vector<uint8_t> buffer(reach, 0);
  buffer.insert(buffer.end(), data.begin(), data.end());
  const size_t end = buffer.size();
  constexpr size_t kHashSize = 1 << 15, kChainLimit = 48;
  std::vector<int64_t> head(kHashSize, -1), previous(end, -1);
  auto hash = [&](size_t at) {
    return ((buffer[at] << 10) ^ (buffer[at + 1] << 5) ^ buffer[at + 2]) & (kHashSize - 1);
  };
  auto insert = [&](size_t at) {
    if (at + 2 >= end) return;
    size_t h = hash(at);
    previous[at] = head[h];
    head[h] = static_cast<int64_t>(at);
  };
  for (size_t at = reach > 64 ? reach - 64 : 0; at < reach; ++at) insert(at);

  std::vector<Token> tokens;
  size_t at = reach;
  while (at < end) {
    size_t bestLength = 0, bestDistance = 0;
    if (at + 2 < end) {
      size_t steps = 0;
      for (int64_t candidate = head[hash(at)]; candidate >= 0 && steps < kChainLimit;
           candidate = previous[candidate], ++steps) {
        size_t distance = at - static_cast<size_t>(candidate);
        if (distance > reach) break;
        size_t length = 0;
        while (length < maxLength && at + length < end && buffer[candidate + length] == buffer[at + length]) ++length;
        if (length > bestLength && usable(distance, length)) {
          bestLength = length;
          bestDistance = distance;
        }
      }
    }
    if (bestLength >= minLength) {
      tokens.push_back({bestLength, bestDistance, 0});
      for (size_t i = 0; i < bestLength; ++i) insert(at + i);
      at += bestLength;
    } else {
      tokens.push_back({0, 0, buffer[at]});
      insert(at);
      ++at;
    }
  }
  return tokens;
}

// ---- Shrink -------------------------------------------------------------------

class Shrinker {
 public:
  explicit Shrinker(const ShrinkOptions& options) : options_(options) { prefix_.fill(kFree); }

  std::vector<uint8_t> Run(const std::vector<uint8_t>& data) {
    if (data.empty()) return {};
    int current = data[0];
    int sent = 0;
    bool clearWanted = false;
    for (size_t i = 1; i < data.size(); ++i) {
      uint8_t next = data[i];
      auto known = strings_.find(Key(current, next));
      if (known != strings_.end()) {
        current = known->second;
        continue;
      }
      Send(current);
      ++sent;
      if ((options_.clearEvery > 0 && sent % options_.clearEvery == 0) ||
          (options_.clearWhenFull && nextFree_ == kTableSize)) {
        clearWanted = true;
      }
      if (clearWanted && current < 256) {
        SendControl(2);
        PartialClear();
        clearWanted = false;
      }
      if (nextFree_ < kTableSize) {
        prefix_[nextFree_] = current;
        suffix_[nextFree_] = next;
        strings_[Key(current, next)] = nextFree_;
        AdvanceNextFree(nextFree_ + 1);
      }
      current = next;
    }
    Send(current);
    return out_.Finish();
  }

 private:
  static constexpr int kTableSize = 8192, kFree = -1;

  static uint32_t Key(int prefix, uint8_t byte) { return static_cast<uint32_t>(prefix) << 8 | byte; }

  void SendControl(uint32_t control) {
    out_.Put(256, codeSize_);
    out_.Put(control, codeSize_);
  }

  void Send(int code) {
    while (code >= (1 << codeSize_)) {
      SendControl(1);
      ++codeSize_;
    }
    out_.Put(static_cast<uint32_t>(code), codeSize_);
  }

  void PartialClear() {
    std::array<bool, kTableSize> isPrefix{};
    for (int code = 257; code < kTableSize; ++code) {
      if (prefix_[code] != kFree) isPrefix[prefix_[code]] = true;
    }
    for (int code = 257; code < kTableSize; ++code) {
      if (prefix_[code] != kFree && !isPrefix[code]) {
        strings_.erase(Key(prefix_[code], suffix_[code]));
        prefix_[code] = kFree;
      }
    }
    AdvanceNextFree(257);
  }

  void AdvanceNextFree(int from) {
    nextFree_ = from;
    while (nextFree_ < kTableSize && prefix_[nextFree_] != kFree) ++nextFree_;
  }

  ShrinkOptions options_;
  LsbBitWriter out_;
  std::array<int, kTableSize> prefix_{};
  std::array<uint8_t, kTableSize> suffix_{};
  std::unordered_map<uint32_t, int> strings_;
  int nextFree_ = 257;
  int codeSize_ = 9;
};

// ---- Reduce -------------------------------------------------------------------

constexpr uint8_t kDle = 144;

// Bits of a follower index: 1 for one or two followers, else those of count - 1.
int IndexBits(size_t count) {
  int bits = 1;
  while ((size_t{1} << bits) < count) ++bits;
  return bits;
}

// ---- Implode ------------------------------------------------------------------

// Huffman code lengths of at most 16 bits for every value (each counted at least once).
std::vector<uint8_t> CodeLengths(std::vector<uint64_t> counts) {
  for (auto& c : counts) c = c * 2 + 1;
  for (;;) {
    using Node = std::pair<uint64_t, int>;
    std::priority_queue<Node, std::vector<Node>, std::greater<>> queue;
    std::vector<int> parent(counts.size() * 2, -1);
    for (size_t i = 0; i < counts.size(); ++i) queue.push({counts[i], static_cast<int>(i)});
    int next = static_cast<int>(counts.size());
    while (queue.size() > 1) {
      Node a = queue.top();
      queue.pop();
      Node b = queue.top();
      queue.pop();
      parent[a.second] = parent[b.second] = next;
      queue.push({a.first + b.first, next++});
    }
    std::vector<uint8_t> lengths(counts.size());
    int longest = 0;
    for (size_t i = 0; i < counts.size(); ++i) {
      int depth = 0;
      for (int node = static_cast<int>(i); parent[node] >= 0; node = parent[node]) ++depth;
      lengths[i] = static_cast<uint8_t>(depth);
      longest = std::max(longest, depth);
    }
    if (longest <= 16) return lengths;
    for (auto& c : counts) c = c / 2 + 1;
  }
}

// The format's codes for these lengths, bit-reversed for an LSB-first writer:
// sorted by length then value, counted up from the longest entry backwards.
std::vector<uint16_t> ReversedCodes(const std::vector<uint8_t>& lengths) {
  std::vector<int> order(lengths.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lengths[a] < lengths[b]; });
  std::vector<uint16_t> codes(lengths.size());
  uint32_t code = 0, increment = 0, lastLength = 0;
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    code = (code + increment) & 0xFFFF;
    if (lengths[*it] != lastLength) {
      lastLength = lengths[*it];
      increment = 1u << (16 - lastLength);
    }
    uint16_t reversed = 0;
    for (int bit = 0; bit < 16; ++bit) reversed |= ((code >> bit) & 1) << (15 - bit);
    codes[*it] = reversed;
  }
  return codes;
}

struct TreeCode {
  std::vector<uint8_t> lengths;
  std::vector<uint16_t> codes;
  void Put(LsbBitWriter& out, size_t value) const { out.Put(codes[value], lengths[value]); }
};

TreeCode MakeTree(const std::vector<uint64_t>& counts) {
  TreeCode tree;
  tree.lengths = CodeLengths(counts);
  tree.codes = ReversedCodes(tree.lengths);
  return tree;
}

}  // namespace

std::vector<uint8_t> Shrink(const std::vector<uint8_t>& data, const ShrinkOptions& options) {
  return Shrinker(options).Run(data);
}

std::vector<uint8_t> Reduce(const std::vector<uint8_t>& data, int factor) {
  assert(factor >= 1 && factor <= 4);
  const size_t mask = 0xFFu >> factor;
  const size_t reach = size_t{256} << factor;
  // A copy of 3 bytes from at most 256 back would start with the byte 0 after DLE,
  // which means a literal 144; such copies are not used.
  auto usable = [](size_t distance, size_t length) { return length > 3 || distance > 256; };
  std::vector<Token> tokens = Parse(data, reach, 3, mask + 255 + 3, usable);

  std::vector<uint8_t> stream;
  for (const Token& t : tokens) {
    if (t.length == 0) {
      stream.push_back(t.literal);
      if (t.literal == kDle) stream.push_back(0);
      continue;
    }
    size_t length = t.length - 3, distance = t.distance - 1;
    stream.push_back(kDle);
    stream.push_back(static_cast<uint8_t>(((distance >> 8) << (8 - factor)) | std::min(length, mask)));
    if (length >= mask) stream.push_back(static_cast<uint8_t>(length - mask));
    stream.push_back(static_cast<uint8_t>(distance & 0xFF));
  }

  // Follower sets: the most frequent next bytes after each byte, up to 32.
  std::vector<std::array<uint32_t, 256>> pairs(256);
  uint8_t last = 0;
  for (uint8_t b : stream) {
    ++pairs[last][b];
    last = b;
  }
  std::vector<std::vector<uint8_t>> sets(256);
  for (int set = 0; set < 256; ++set) {
    std::vector<int> order;
    for (int b = 0; b < 256; ++b) {
      if (pairs[set][b] > 1) order.push_back(b);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return pairs[set][a] > pairs[set][b]; });
    for (size_t i = 0; i < order.size() && i < 32; ++i) sets[set].push_back(static_cast<uint8_t>(order[i]));
  }

  LsbBitWriter out;
  for (int set = 255; set >= 0; --set) {
    out.Put(static_cast<uint32_t>(sets[set].size()), 6);
    for (uint8_t b : sets[set]) out.Put(b, 8);
  }
  last = 0;
  for (uint8_t b : stream) {
    const auto& followers = sets[last];
    if (!followers.empty()) {
      auto found = std::find(followers.begin(), followers.end(), b);
      if (found != followers.end()) {
        out.Put(0, 1);
        out.Put(static_cast<uint32_t>(found - followers.begin()), IndexBits(followers.size()));
        last = b;
        continue;
      }
      out.Put(1, 1);
    }
    out.Put(b, 8);
    last = b;
  }
  return out.Finish();
}

void WriteTreeDescription(LsbBitWriter& out, const std::vector<uint8_t>& lengths) {
  std::vector<uint8_t> runs;
  for (size_t i = 0; i < lengths.size();) {
    size_t n = 1;
    while (n < 16 && i + n < lengths.size() && lengths[i + n] == lengths[i]) ++n;
    runs.push_back(static_cast<uint8_t>(((n - 1) << 4) | (lengths[i] - 1)));
    i += n;
  }
  out.Put(static_cast<uint32_t>(runs.size() - 1), 8);
  for (uint8_t run : runs) out.Put(run, 8);
}

std::vector<uint8_t> Implode(const std::vector<uint8_t>& data, bool eightKiB, bool literalTree) {
  const int lowBits = eightKiB ? 7 : 6;
  const size_t minLength = literalTree ? 3 : 2;
  const size_t reach = size_t{64} << lowBits;
  std::vector<Token> tokens =
      Parse(data, reach, minLength, minLength + 63 + 255, [](size_t, size_t) { return true; });

  std::vector<uint64_t> literalCounts(256), lengthCounts(64), distanceCounts(64);
  for (const Token& t : tokens) {
    if (t.length == 0) {
      ++literalCounts[t.literal];
    } else {
      ++lengthCounts[std::min<size_t>(t.length - minLength, 63)];
      ++distanceCounts[(t.distance - 1) >> lowBits];
    }
  }
  TreeCode literals = MakeTree(literalCounts), lengths = MakeTree(lengthCounts),
           distances = MakeTree(distanceCounts);

  LsbBitWriter out;
  if (literalTree) WriteTreeDescription(out, literals.lengths);
  WriteTreeDescription(out, lengths.lengths);
  WriteTreeDescription(out, distances.lengths);
  for (const Token& t : tokens) {
    if (t.length == 0) {
      out.Put(1, 1);
      if (literalTree) {
        literals.Put(out, t.literal);
      } else {
        out.Put(t.literal, 8);
      }
      continue;
    }
    size_t distance = t.distance - 1, length = t.length - minLength;
    out.Put(0, 1);
    out.Put(static_cast<uint32_t>(distance & ((1u << lowBits) - 1)), lowBits);
    distances.Put(out, distance >> lowBits);
    lengths.Put(out, std::min<size_t>(length, 63));
    if (length >= 63) out.Put(static_cast<uint32_t>(length - 63), 8);
  }
  return out.Finish();
}

}  // namespace setuvane::archive::testing
