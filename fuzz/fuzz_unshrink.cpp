// Fuzz target: the unshrink decoder (ZIP method 1). Input: bytes 1 to 3 give the
// uncompressed size (low 20 bits), the rest is the stream. Unshrink knows no size of
// its own: in an extraction the output sink fails the entry with EAbZipBadCRC once
// the declared size is passed, and so does the sink here. Without that bound a few
// KiB of codes, each one byte longer than the last, decode to megabytes and the
// fuzzer spends its time copying output. Malformed data may fail the entry with
// EAbZipBadCRC; anything else escaping, a crash or a hang is a finding. The starting
// corpus comes from the test encoders (tests/archive/legacy_encoders.h).
#include <cstddef>
#include <cstdint>

#include "archive/decoders.h"
#include "archive/exceptions.h"
#include "fuzz/legacy_fuzz_streams.h"

using namespace setuvane::archive;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  fuzzing::InputSource source(data + 4, size - 4);
  fuzzing::DeclaredSizeSink sink(fuzzing::SizeField(data));
  try {
    Unshrink(source, sink);
  } catch (const EAbZipBadCRC&) {
  }
  return 0;
}
