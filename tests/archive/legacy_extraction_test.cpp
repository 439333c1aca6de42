// Entries of every legacy method, made by the test encoders, extracted to disk by the
// unzip component: plain and encrypted, and a malformed one that must fail alone,
// leaving no file behind while the other entries are still written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "archive/unzipper.h"
#include "system/cp1250.h"
#include "tests/archive/legacy_encoders.h"
#include "tests/archive/temp_folder.h"
#include "tests/archive/zip_writer.h"

namespace setuvane::archive {
namespace {

using testing::Bytes;
using testing::ZipEntryLayout;

Bytes Payload() {
  std::string text(24, '\0');
  for (int i = 0; i < 400; ++i) text += "Pliki instalacji: " + std::to_string(i * 7919 % 1000) + "\x90\r\n";
  return Bytes(text.begin(), text.end());
}

ZipEntryLayout Legacy(const std::string& name, uint16_t method, uint16_t flags, Bytes compressed,
                    const Bytes& payload, bool encrypted) {
  ZipEntryLayout entry;
  entry.name = name;
  entry.method = method;
  entry.extraFlags = flags;
  entry.data = std::move(compressed);
  entry.crc = testing::ZipCrc(payload);
  entry.uncompressedSize = static_cast<uint32_t>(payload.size());
  if (encrypted) entry.password = Cp1250("Zażółć");
  return entry;
}

TEST(LegacyExtraction, EveryMethodExtractsAndAMalformedEntryFailsAlone) {
  const Bytes payload = Payload();
  testing::ZipLayout layout;
  layout.entries.push_back(Legacy("shrunk.bin", 1, 0, testing::Shrink(payload, {50, true}), payload, false));
  layout.entries.push_back(Legacy("shrunk-enc.bin", 1, 6, testing::Shrink(payload), payload, true));
  for (int factor = 1; factor <= 4; ++factor) {
    layout.entries.push_back(Legacy("reduced" + std::to_string(factor) + ".bin", static_cast<uint16_t>(1 + factor), 0,
                                  testing::Reduce(payload, factor), payload, factor % 2 == 0));
  }
  for (uint16_t flags : {0, 2, 4, 6}) {
    layout.entries.push_back(Legacy("imploded" + std::to_string(flags) + ".bin", 6, flags,
                                  testing::Implode(payload, flags & 2, flags & 4), payload, flags == 6));
  }
  // Codes widened five times: 14 bits, more than the table holds.
  testing::LsbBitWriter widened;
  for (int size = 9; size <= 13; ++size) {
    widened.Put(256, size);
    widened.Put(1, size);
  }
  layout.entries.push_back(Legacy("broken.bin", 1, 0, widened.Finish(), payload, false));

  testing::TempFolder folder;
  const auto archive = folder.Path() / "legacy.zip";
  const Bytes zip = testing::BuildZip(layout).bytes;
  std::ofstream(archive, std::ios::binary).write(reinterpret_cast<const char*>(zip.data()), zip.size());
  std::filesystem::create_directory(folder.Path() / "out");

  TAbUnZipper unzipper;
  unzipper.SetPassword(Cp1250("Zażółć"));
  std::vector<std::string> failures;
  unzipper.OnProcessItemFailure = [&](TAbUnZipper&, TAbArchiveItem& item, TAbProcessType, TAbErrorClass errorClass,
                                      int errorCode) {
    failures.push_back(item.GetStoredName() + " " + std::to_string(static_cast<int>(errorClass)) + " " +
                       std::to_string(errorCode));
  };
  unzipper.OpenZip(testing::WinPath(archive));
  unzipper.SetBaseDirectory(testing::WinPath(folder.Path() / "out"));
  unzipper.ExtractMatching("*.*");

  EXPECT_EQ(failures, std::vector<std::string>{"broken.bin 0 23"});  // "Failed CRC Check"
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out" / "broken.bin"));
  for (const ZipEntryLayout& entry : layout.entries) {
    if (entry.name == "broken.bin") continue;
    std::ifstream in(folder.Path() / "out" / entry.name, std::ios::binary);
    Bytes got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(got == payload) << entry.name << " (" << got.size() << " bytes)";
  }
}

}  // namespace
}  // namespace setuvane::archive
