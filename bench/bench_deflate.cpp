// The two deflate libraries the package tool could use, on the benchmark payload
// (bench/payload.sh; its folder from SETUVANE_PAYLOAD, default
// build/build-bench/payload): one thread compressing every file whole, as `build`
// does per entry. Counters: "percent", the compressed size (stored where deflate
// does not help) as a share of the input.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::vector<std::string>& Payload() {
  static const std::vector<std::string> files = [] {
    const char* folder = std::getenv("SETUVANE_PAYLOAD");
    const std::string root = folder != nullptr ? folder : "build/build-bench/payload";
    std::vector<std::string> contents;
    std::ifstream list(root + "/list.txt");
    for (std::string name; std::getline(list, name);) {
      std::ifstream in(root + "/files/" + name, std::ios::binary);
      contents.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return contents;
  }();
  return files;
}

size_t Zlib(const std::string& data, int level, std::vector<uint8_t>& out) {
  z_stream stream{};
  deflateInit2(&stream, level, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
  out.resize(deflateBound(&stream, data.size()));
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  const size_t written = stream.total_out;
  deflateEnd(&stream);
  return written;
}

size_t Libdeflate(libdeflate_compressor* compressor, const std::string& data, std::vector<uint8_t>& out) {
  out.resize(libdeflate_deflate_compress_bound(compressor, data.size()));
  return libdeflate_deflate_compress(compressor, data.data(), data.size(), out.data(), out.size());
}

void Run(benchmark::State& state, bool libdeflate) {
  const auto& files = Payload();
  if (files.empty()) {
    state.SkipWithError("no payload: run bench/payload.sh build/build-bench/payload first");
    return;
  }
  const int level = static_cast<int>(state.range(0));
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
  std::vector<uint8_t> out;
  size_t input = 0, output = 0;
  for (auto _ : state) {
    input = output = 0;
    for (const std::string& data : files) {
      const size_t size = libdeflate ? Libdeflate(compressor, data, out) : Zlib(data, level, out);
      input += data.size();
      output += std::min(size, data.size());
    }
  }
  libdeflate_free_compressor(compressor);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input));
  state.counters["percent"] = 100.0 * double(output) / double(input);
}

void BM_ZlibDeflate(benchmark::State& state) { Run(state, false); }
void BM_Libdeflate(benchmark::State& state) { Run(state, true); }

BENCHMARK(BM_ZlibDeflate)->Arg(6)->Arg(9)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_Libdeflate)->Arg(6)->Arg(9)->Arg(12)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
