// CRC-32 throughput on a 1 MiB buffer, with zlib's crc32 measured alongside.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "archive/crc32.h"

namespace {

const std::vector<uint8_t>& Data() {
  static const std::vector<uint8_t> data = [] {
    std::mt19937 rng(4);
    std::vector<uint8_t> d(1 << 20);
    for (auto& b : d) b = static_cast<uint8_t>(rng());
    return d;
  }();
  return data;
}

void BM_Crc32(benchmark::State& state) {
  const auto& data = Data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(setuvane::archive::Crc32Update(0xFFFFFFFFu, data.data(), data.size()));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

void BM_ZlibCrc32(benchmark::State& state) {
  const auto& data = Data();
  for (auto _ : state) benchmark::DoNotOptimize(crc32(0, data.data(), static_cast<uInt>(data.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
}

BENCHMARK(BM_Crc32);
BENCHMARK(BM_ZlibCrc32);

}  // namespace

BENCHMARK_MAIN();
