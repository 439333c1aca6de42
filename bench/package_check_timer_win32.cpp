// Times the start-up check of a package carried inside the installer, under Wine:
// the record read from the program file, then the whole package read and summed,
// exactly as start-up does it, ROUNDS times for each file given; prints the median
// and the minimum per file.
//
//   setuvane_package_check_timer ROUNDS SETUP.EXE...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "archive/file_system.h"
#include "core/package/embedded_package.h"

namespace {

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace setuvane;
  if (argc < 3) {
    std::fprintf(stderr, "usage: setuvane_package_check_timer ROUNDS SETUP.EXE...\n");
    return 2;
  }
  const int rounds = std::max(1, std::atoi(argv[1]));
  for (int i = 2; i < argc; ++i) {
    std::vector<double> seconds;
    int64_t size = 0;
    for (int round = 0; round < rounds; ++round) {
      const double start = Now();
      const std::unique_ptr<archive::ReadableFile> file = archive::NativeFileSystem().OpenRead(argv[i]);
      const std::optional<EmbeddedPackage> package = ReadEmbeddedPackage(*file);
      if (!package || CheckEmbeddedPackage(*file, *package) != PackageIntegrity::kIntact) {
        std::fprintf(stderr, "%s: no whole package inside\n", argv[i]);
        return 1;
      }
      seconds.push_back(Now() - start);
      size = package->size;
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("%s: package %.1f MB, check median %.1f ms, min %.1f ms\n", argv[i], double(size) / 1e6,
                seconds[seconds.size() / 2] * 1e3, seconds.front() * 1e3);
  }
  return 0;
}
