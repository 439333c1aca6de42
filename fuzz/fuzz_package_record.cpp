// Fuzz target: the input is the 64-byte package record of a single file (shorter
// inputs are padded with zeros). A record that decodes names a package (and an
// uninstaller after it) inside what a file offset holds, and writing it again
// gives a record that decodes to the same.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "core/package/embedded_package.h"

using namespace setuvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PackageRecord record{};
  std::copy_n(data, std::min(size, record.size()), record.begin());
  const std::optional<EmbeddedPackage> package = DecodePackageRecord(record.data());
  if (!package) return 0;
  if (package->offset < 0 || package->size <= 0 || package->size > INT64_MAX - package->offset) std::abort();
  if (package->uninstaller && package->uninstaller->offset < package->offset + package->size) std::abort();
  const PackageRecord again = EncodePackageRecord(package);
  if (DecodePackageRecord(again.data()) != package) std::abort();
  return 0;
}
