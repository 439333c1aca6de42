// What a product file about to be written is to the product, decided once, from its
// normal path (system/path_identity.h), what the product's record says of it and
// what lies there now, and then recorded once:
// - in the program folder: the product's own ("file"), removed with it, when
//   nothing lay there or the record has it so; else another's that was there
//   before the product's first installation ("keptfile"), which stays;
// - outside the program folder: a shared file ("shared"), counted in SharedDLLs,
//   the products' that count it ("created") when nothing lay there or it had a
//   count, else an earlier owner's who never counted it. The count goes up just
//   before the line is recorded, unless the record has counted it already.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "system/uninstall_items.h"

namespace setuvane {

struct ProductFile {
  std::string path;  // normal
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  bool inProgramFolder = false;
  std::optional<UninstallItem> recorded;  // the record's item for the path (RecordedFile)
};

struct ProductFileClaim {
  UninstallItem item;  // the record's line
  // Set: count the file in among the shared files first; true when an earlier
  // owner put it there (a file without a count then starts at 1 for that owner).
  std::optional<bool> countInForEarlierOwner;
};

// `occupied`: whether a file lies at the path now; `counted`: whether SharedDLLs
// counts it. Each is asked only when the answer decides.
ProductFileClaim ClaimProductFile(const ProductFile& file, const std::function<bool()>& occupied,
                                  const std::function<bool()>& counted);

}  // namespace setuvane
