// The entry decoders, one per compression method family. Each reads the entry's
// compressed bytes from a ByteSource and writes the decoded bytes to a ByteSink;
// the unzipper picks one by the entry's method and wraps both ends.
#pragma once

#include <cstdint>

#include "archive/byte_stream.h"

namespace setuvane::archive {

// Method 8 (RFC 1951). Throws EAbZipInflateBlock on a bad block.
void Inflate(ByteSource& input, ByteSink& output);

// Method 1 (shrunk, dynamic LZW with partial clearing).
void Unshrink(ByteSource& input, ByteSink& output);

// Methods 2 to 5 (reduced, compression factor 1 to 4 = method - 1).
void Expand(ByteSource& input, ByteSink& output, int factor, uint32_t uncompressedSize);

// Method 6 (imploded): 8 KiB dictionary when general purpose bit 1 is set, else 4 KiB;
// a literal tree when bit 2 is set.
void Explode(ByteSource& input, ByteSink& output, bool eightKiBDictionary, bool literalTree,
             uint32_t uncompressedSize);

}  // namespace setuvane::archive
