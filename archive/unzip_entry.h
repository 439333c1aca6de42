// The extraction hook of a ZIP archive: writes one entry to disk (UnzipEntry), or
// decodes it and checks its CRC without writing (TestEntry).
//
// An existing file is never lost to a failed entry: the entry then goes into a
// temporary file beside it, which replaces it only after the CRC check passed and
// the time stamp was set. A failed entry removes what it wrote, and leaves an
// existing target as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/output_sink.h"
#include "archive/zip_archive.h"

namespace setuvane::archive {

class DecodeAhead;

// `ahead`, when given, may hold the entry already decoded (archive/decode_ahead.h);
// what the user sees is the same either way.
void UnzipEntry(TAbZipArchive& archive, TAbZipItem& item, const std::string& name, DecodeAhead* ahead = nullptr);
void TestEntry(TAbZipArchive& archive, TAbZipItem& item);

}  // namespace setuvane::archive
