// Inflate against zlib's inflate on the same ~64 MiB raw Deflate streams (zlib level
// 9), generated deterministically: text-like, binary-like, and a low-compression case
// that is mostly literals. Both decode into 128 KiB output steps; the rate counts
// decoded bytes.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/decoders.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kSize = 64u << 20;

Bytes Text() {
  // Words of a made-up language with a skewed (Zipf-like) choice, in lines.
  std::mt19937 rng(1);
  std::vector<std::string> words;
  const char* syllables[] = {"ka", "lo", "wie", "prze", "sta", "mi", "no", "ra", "dzy", "ce", "tu", "ol"};
  for (int i = 0; i < 4000; ++i) {
    std::string w;
    for (int n = 1 + rng() % 4; n > 0; --n) w += syllables[rng() % std::size(syllables)];
    words.push_back(w);
  }
  Bytes out;
  out.reserve(kSize);
  size_t line = 0;
  while (out.size() < kSize) {
    const double u = std::uniform_real_distribution<double>(0, 1)(rng);
    const std::string& w = words[static_cast<size_t>(words.size() * u * u * u)];
    out.insert(out.end(), w.begin(), w.end());
    line += w.size() + 1;
    if (line > 70) {
      out.push_back('.'), out.push_back('\r'), out.push_back('\n');
      line = 0;
    } else {
      out.push_back(rng() % 11 == 0 ? ',' : ' ');
    }
  }
  out.resize(kSize);
  return out;
}

Bytes Binary() {
  // Records of small numbers, zero runs, and repeats of earlier pieces.
  std::mt19937 rng(2);
  Bytes out;
  out.reserve(kSize + 1024);
  while (out.size() < kSize) {
    switch (rng() % 5) {
      case 0: out.insert(out.end(), rng() % 48, 0); break;
      case 1:
        for (int i = rng() % 24; i > 0; --i) out.push_back(static_cast<uint8_t>(rng() % 16));
        break;
      case 2:
        if (out.size() > 70000) {
          const size_t from = out.size() - 1 - rng() % 60000;
          const size_t n = 4 + rng() % 120;
          for (size_t i = 0; i < n; ++i) out.push_back(out[from + i]);
        }
        break;
      case 3: {
        const uint32_t v = rng() % 65536;
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * (i % 2))));
        break;
      }
      default:
        for (int i = rng() % 12; i > 0; --i) out.push_back(static_cast<uint8_t>(rng()));
    }
  }
  out.resize(kSize);
  return out;
}

Bytes LowCompression() {
  // Skewed random bytes: Huffman coding saves a little, matches are rare.
  std::mt19937 rng(3);
  std::geometric_distribution<int> skew(0.02);
  Bytes out(kSize);
  for (auto& b : out) b = static_cast<uint8_t>(skew(rng));
  return out;
}

Bytes Deflate(const Bytes& data) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflateInit2");
  Bytes out(deflateBound(&z, data.size()));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

struct Case {
  Bytes stream;
  size_t size;
};

const Case& Get(int kind) {
  static const Case cases[] = {{Deflate(Text()), kSize}, {Deflate(Binary()), kSize}, {Deflate(LowCompression()), kSize}};
  return cases[kind];
}

class MemorySource : public setuvane::archive::ByteSource {
 public:
  explicit MemorySource(const Bytes& data) : data_(data) {}
  size_t Read(uint8_t* buffer, size_t capacity) override {
    const size_t n = std::min(capacity, data_.size() - position_);
    std::memcpy(buffer, data_.data() + position_, n);
    position_ += n;
    return n;
  }

 private:
  const Bytes& data_;
  size_t position_ = 0;
};

class CountingSink : public setuvane::archive::ByteSink {
 public:
  void Write(const uint8_t* data, size_t length) override {
    benchmark::DoNotOptimize(data);
    total += length;
  }
  size_t total = 0;
};

void Label(benchmark::State& state, const Case& c) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * c.size));
  state.counters["ratio"] = static_cast<double>(c.stream.size()) / static_cast<double>(c.size);
}

void BM_Inflate(benchmark::State& state) {
  const Case& c = Get(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    MemorySource source(c.stream);
    CountingSink sink;
    setuvane::archive::Inflate(source, sink);
    if (sink.total != c.size) state.SkipWithError("wrong size");
  }
  Label(state, c);
}

void BM_ZlibInflate(benchmark::State& state) {
  const Case& c = Get(static_cast<int>(state.range(0)));
  Bytes out(128 * 1024);
  for (auto _ : state) {
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = const_cast<Bytef*>(c.stream.data());
    z.avail_in = static_cast<uInt>(c.stream.size());
    int result;
    do {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      result = inflate(&z, Z_NO_FLUSH);
      benchmark::DoNotOptimize(out.data());
    } while (result == Z_OK);
    if (result != Z_STREAM_END || z.total_out != c.size) state.SkipWithError("zlib failed");
    inflateEnd(&z);
  }
  Label(state, c);
}

// 0 = text, 1 = binary, 2 = low compression; each pair runs side by side.
BENCHMARK(BM_Inflate)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflate)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
