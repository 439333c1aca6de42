// The legacy decoders on real archives made by other tools (shared fixtures): every
// shrunk, reduced and imploded entry must decode to its size and CRC.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "archive/crc32.h"
#include "archive/decoders.h"
#include "tests/archive/legacy_streams.h"
#include "tests/archive/legacy_zip_reader.h"

namespace setuvane::archive {
namespace {

using testing::MemorySink;
using testing::MemorySource;
using testing::RawZipEntry;

std::filesystem::path FixtureDir() {
  const char* root = std::getenv("SETUVANE_SOURCE_DIR");
  return std::filesystem::path(root ? root : ".") / ".." / "shared" / "fixtures" / "legacy";
}

uint32_t Crc(const std::vector<uint8_t>& bytes) {
  return ~Crc32Update(0xFFFFFFFFu, bytes.data(), bytes.size());
}

std::vector<uint8_t> Decode(const RawZipEntry& entry) {
  MemorySource source(entry.data);
  MemorySink sink;
  switch (entry.method) {
    case 1: Unshrink(source, sink); break;
    case 2: case 3: case 4: case 5: Expand(source, sink, entry.method - 1, entry.uncompressedSize); break;
    case 6: Explode(source, sink, entry.flags & 2, entry.flags & 4, entry.uncompressedSize); break;
  }
  return sink.bytes;
}

TEST(LegacyFixtures, EveryPlainLegacyEntryDecodesToItsCrc) {
  if (!std::filesystem::is_directory(FixtureDir())) GTEST_SKIP() << "no fixtures at " << FixtureDir();
  int decoded = 0;
  for (const auto& file : std::filesystem::directory_iterator(FixtureDir())) {
    if (file.path().extension() != ".zip") continue;
    for (const RawZipEntry& entry : testing::ReadRawZipEntries(file.path().string())) {
      if (entry.method < 1 || entry.method > 6 || (entry.flags & 1)) continue;
      std::vector<uint8_t> out = Decode(entry);
      EXPECT_EQ(out.size(), entry.uncompressedSize) << file.path().filename() << " " << entry.name;
      EXPECT_EQ(Crc(out), entry.crc) << file.path().filename() << " " << entry.name;
      ++decoded;
    }
  }
  EXPECT_GT(decoded, 200);
}

}  // namespace
}  // namespace setuvane::archive
