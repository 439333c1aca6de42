// Fuzz target: the input is a solid package (archive/solid_package.h). It is opened
// from memory, its index read, every entry tested and extracted with restored paths
// into memory, then the entries extracted once more from the last to the first
// (each read behind the one before starts the stream again): any input must end in
// an exception or a per-entry failure, never a crash, a hang or a file written
// outside its folder. Packages that decode to more than 16 MiB are left out, so
// that each run stays short.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive/memory_file_system.h"
#include "archive/solid_package.h"
#include "archive/unzipper.h"

using namespace setuvane::archive;

namespace {

constexpr uint64_t kLargestDecoded = uint64_t(16) << 20;

uint64_t Load64(const uint8_t* p) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= kSolidHeaderSize && Load64(data + 16) + Load64(data + 24) > kLargestDecoded) return 0;
  MemoryFileSystem files;
  files.AddFile("in.exe", std::vector<uint8_t>(data, data + size));
  files.AddFolder("out");
  TAbUnZipper zip(files);
  zip.SetDecodeAhead(false);  // one thread per input: runs repeat exactly (archive_ahead_test covers the worker)
  zip.SetExtractOptions(eoCreateDirs | eoRestorePath);
  zip.SetBaseDirectory("out");
  try {
    zip.OpenZip("in.exe");
  } catch (const std::exception&) {
  }
  size_t names = 0;
  for (int i = 0; i < zip.EntryCount(); ++i) names += zip.Entries(i)->StoredName().size() + zip.Entries(i)->ExtraText().size();
  try {
    zip.TestMatching("*.*");
    zip.ExtractMatching("*.*");
    for (int i = zip.EntryCount() - 1; i >= 0; --i) zip.ExtractEntry(i);
  } catch (const std::exception&) {
  }
  for (const auto& [path, file] : files.Files()) {
    if (path != "in.exe" && path.rfind("out\\", 0) != 0) __builtin_trap();  // written outside
  }
  return names == SIZE_MAX;
}
