// The extraction hook of a ZIP archive: writes one entry to disk (UnzipEntry), or
// decodes it and checks its CRC without writing (TestEntry).
//
// An existing file is never lost to a failed entry: the entry then goes into a
// temporary file beside it, which replaces it only after the CRC check passed and
// the time stamp was set. A failed entry removes what it wrote, and leaves an
// existing target as it was.
#pragma once

#include <string>

#include "archive/zip_archive.h"

namespace setuvane::archive {

void UnzipEntry(TAbZipArchive& archive, TAbZipItem& item, const std::string& name);
void TestEntry(TAbZipArchive& archive, TAbZipItem& item);

}  // namespace setuvane::archive
