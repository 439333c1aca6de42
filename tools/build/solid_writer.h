// Writes a solid package (archive/solid_package.h): every file of the package in
// one .xz stream (xz-utils' liblzma), so that what alike files share is found
// across them, as a ZIP compressing each entry alone cannot.
//
// The files go in this order: the setup files, the component installers' files,
// the product files; the product files that are x86 machine code (Windows and ELF
// programs and libraries, static libraries) last, in a block of the stream of
// their own whose LZMA2 runs behind the x86 filter (BCJ: call and jump targets
// made absolute, so that repeated calls look alike), which pays on code and costs
// on anything else. Otherwise the manifest's order stays. (Where memory allows,
// the installer decodes the two blocks at once and takes their files interleaved:
// archive/solid_stream.h.) LZMA2 runs at its strongest preset, its literal coder
// set for text or for code by block, with a dictionary of 12 MiB at most (no
// larger than the stream's bytes): decoding a block then needs at most 12.6 MB,
// within the 16 MiB the reader allows for machines of 32 MB.
#pragma once

#include <filesystem>
#include <vector>

#include "tools/build/package_file.h"
#include "tools/build/package_writer.h"

namespace setuvane::pack {

struct SolidSummary {
  uint64_t packageBytes = 0;
  int programs = 0;  // files behind the x86 filter
};

// Writes into a temporary file beside `output` that replaces it only when complete.
// Throws std::runtime_error (with a message for the console) on failure.
SolidSummary WriteSolidPackage(const std::vector<PackageFile>& files, const std::filesystem::path& output,
                               const WriteOptions& options);

// The most memory decoding a block of a solid package may take (its largest
// dictionary, as the stream records it): the reader refuses streams that ask for
// more.
uint64_t LargestDecoderMemory();

// `bytes` as one .xz stream, at the same strength, its dictionary no larger than
// `bytes`; `program` puts the x86 filter in front.
std::vector<uint8_t> PackXz(const std::vector<uint8_t>& bytes, bool program);

}  // namespace setuvane::pack
