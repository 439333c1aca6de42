// The buffers of entry extraction, owned by the archive and reused from entry to
// entry: allocating and touching fresh pages for every small file cost more kernel
// time than writing the files.
#pragma once

#include <cstdint>
#include <vector>

namespace setuvane::archive {

struct ExtractionBuffers {
  std::vector<uint8_t> input;   // compressed bytes read ahead (EntrySource)
  std::vector<uint8_t> output;  // decoded bytes waiting to be written (OutputSink)
  std::vector<uint8_t> copy;    // chunks of a stored entry
};

}  // namespace setuvane::archive
