// Fuzz target: the explode decoder (ZIP method 6). Input: byte 0 picks the variant
// (bit 0: 8 KiB dictionary, bit 1: literal tree), bytes 1 to 3 the uncompressed size
// (low 20 bits), the rest is the stream. The decoder raises nothing of its own:
// any exception, output past the size, a crash or a hang is a finding. The starting
// corpus comes from the test encoders.
#include <cstddef>
#include <cstdint>

#include "archive/decoders.h"
#include "fuzz/legacy_fuzz_streams.h"

using namespace setuvane::archive;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const bool eightKiB = data[0] & 1, literalTree = data[0] & 2;
  const uint32_t uncompressed = fuzzing::SizeField(data);
  fuzzing::InputSource source(data + 4, size - 4);
  fuzzing::BoundedSink sink(uncompressed);
  Explode(source, sink, eightKiB, literalTree, uncompressed);
  return 0;
}
