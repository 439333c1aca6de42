// Writes the package: a ZIP archive (APPNOTE) that the installer's reader takes.
// Each entry is deflated (or stored where deflate does not make it smaller),
// encrypted under the package password, and carries its destination text as the
// central directory's extra field and nothing else there (setup files: no extra
// field); local headers carry no extra field. Sizes and CRC are known before an
// entry is written, so no data descriptors. Entries are read and compressed on all
// cores; the archive is written in the order of the files, so the same input
// always gives the same layout.
#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/build/package_file.h"

namespace setuvane::pack {

struct WriteOptions {
  std::string password;  // Windows-1250 text; empty: entries are not encrypted
  int level = 9;         // deflate level, 1 to 12; 0 stores every entry
  unsigned jobs = 0;     // compressing threads; 0: one per core
  // Reproducible builds: every entry gets this time, and the random bytes of the
  // encryption headers are derived from the entry instead of the system's source.
  std::optional<std::time_t> fixedTime;
};

struct WriteSummary {
  uint64_t archiveBytes = 0;
  int deflated = 0;
  int stored = 0;
};

// Writes into a temporary file beside `output` that replaces it only when complete.
// Throws std::runtime_error (with a message for the console) on failure.
WriteSummary WritePackage(const std::vector<PackageFile>& files, const std::filesystem::path& output,
                          const WriteOptions& options);

// Runs `write` on a temporary file beside `output` ("NAME.part"), which replaces
// `output` once `write` returns; on any failure it is removed and `output` stays.
void WriteWholeOrNothing(const std::filesystem::path& output,
                         const std::function<void(const std::filesystem::path& partial)>& write);

}  // namespace setuvane::pack
