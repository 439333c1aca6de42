// One entry of the package being built: the file it is made of, the name it is
// stored under, its destination text, and where the manifest named it.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace setuvane::pack {

struct PackageFile {
  std::filesystem::path source;
  std::string storedName;   // Windows-1250, "/" between folders
  std::string destination;  // Windows-1250; empty for a setup file
  int line = 0;             // of the manifest line that named it
  int destinationLine = 0;  // of the heading with its destination text
  uint64_t size = 0;
  // The bytes to store when they differ from the file's (a setup text converted
  // from UTF-8); otherwise the file is read when the entry is written.
  std::optional<std::string> content;

  bool IsSetup() const { return destination.empty(); }
  // A component installer's file, carried by a single file below its folder.
  bool IsComponent() const { return IsSetup() && storedName.find('/') != std::string::npos; }
};

// An entry's time as MS-DOS keeps it.
struct DosStamp {
  uint16_t time = 0;
  uint16_t date = 0;
};
// The file's last write time, in local time as the installer stamps it; with
// `fixedTime` (reproducible builds) that time, taken in UTC.
DosStamp EntryStamp(const PackageFile& file, std::optional<std::time_t> fixedTime);
// The entry's bytes; throws std::runtime_error when the file cannot be read whole.
std::vector<uint8_t> ReadWhole(const PackageFile& file);

// A destination text followed by a subfolder or file name: a "\" between them
// unless the text ends in one or in a macro (macros end in a backslash).
std::string JoinDestination(const std::string& destination, const std::string& name);

// UTF-8 text of a path, "/" between parts, as the manifest writes paths.
std::string PathText(const std::filesystem::path& path);
std::filesystem::path PathFromText(const std::string& utf8);

}  // namespace setuvane::pack
