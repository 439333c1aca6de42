// Fuzz target: the expand decoder (ZIP methods 2 to 5). Input: byte 0 picks the
// compression factor (1 + its low 2 bits), bytes 1 to 3 the uncompressed size (low
// 20 bits), the rest is the stream. A follower set of more than 32 bytes may fail
// the entry with EAbZipBadCRC; output past the size, any other exception, a crash
// or a hang is a finding. The starting corpus comes from the test encoders.
#include <cstddef>
#include <cstdint>

#include "archive/decoders.h"
#include "archive/exceptions.h"
#include "fuzz/legacy_fuzz_streams.h"

using namespace setuvane::archive;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int factor = 1 + (data[0] & 3);
  const uint32_t uncompressed = fuzzing::SizeField(data);
  fuzzing::InputSource source(data + 4, size - 4);
  fuzzing::BoundedSink sink(uncompressed);
  try {
    Expand(source, sink, factor, uncompressed);
  } catch (const EAbZipBadCRC&) {
  }
  return 0;
}
