// Fuzz target: the unshrink decoder (ZIP method 1) on arbitrary input. Malformed data
// may fail the entry with EAbZipBadCRC; anything else escaping, a crash or a hang is
// a finding. The starting corpus comes from the test encoders
// (tests/archive/legacy_encoders.h).
#include <cstddef>
#include <cstdint>

#include "archive/decoders.h"
#include "archive/exceptions.h"
#include "fuzz/legacy_fuzz_streams.h"

using namespace setuvane::archive;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::InputSource source(data, size);
  fuzzing::BoundedSink sink(UINT64_MAX);
  try {
    Unshrink(source, sink);
  } catch (const EAbZipBadCRC&) {
  }
  return 0;
}
