#include "system/system_queries.h"

#include <algorithm>
#include <limits>

#include "system/machine.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max();

// GetDiskFreeSpace's product in 64 bits (a 32-bit product wraps at 2 GiB and
// 4 GiB); a count beyond the 64-bit range is capped.
std::int64_t FreeBytesFromClusters(const DiskSpace& space) {
  std::uint64_t perCluster = std::uint64_t{space.sectorsPerCluster} * space.bytesPerSector;
  if (space.freeClusters != 0 && perCluster > static_cast<std::uint64_t>(kMaxCount) / space.freeClusters) {
    return kMaxCount;
  }
  return static_cast<std::int64_t>(perCluster * space.freeClusters);
}

}  // namespace

std::string GetWindowsVersion() {
  std::optional<VersionRecord> version = CurrentMachine().Version();
  if (!version) return {};
  // Printed as signed numbers: the build field of Windows 95 and 98 carries the
  // version in its upper half as well.
  return std::to_string(static_cast<std::int32_t>(version->majorVersion)) + "." +
         std::to_string(static_cast<std::int32_t>(version->minorVersion)) + "." +
         std::to_string(static_cast<std::int32_t>(version->buildNumber));
}

std::string GetWindowsPlatform() {
  std::optional<VersionRecord> version = CurrentMachine().Version();
  if (!version) return {};
  switch (version->platformId) {
    case 0: return "Microsoft Win32s";
    case 1: return "Microsoft Windows 95";
    case 2: return "Microsoft Windows NT";
    default: return {};
  }
}

std::int64_t GetDiskFreeBytes(std::string_view path) {
  std::optional<DiskSpace> space = CurrentMachine().DiskFreeSpace(AddBackslash(path));
  if (!space) return -1;
  if (space->bytesFreeToCaller) {
    return static_cast<std::int64_t>(std::min<std::uint64_t>(*space->bytesFreeToCaller, kMaxCount));
  }
  return FreeBytesFromClusters(*space);
}

bool FileExists(std::string_view path) {
  const std::optional<std::uint32_t> attributes = CurrentMachine().FileAttributes(std::string(path));
  return attributes && !(*attributes & kDirectoryAttribute);
}

bool SystemHoldsName(std::string_view text) { return CurrentMachine().HoldsName(std::string(text)); }

std::string FromAnsiCodePage(std::string_view bytes) { return CurrentMachine().AnsiCodePageText(bytes); }

bool CanEnterDirectory(std::string_view folder) {
  Machine& machine = CurrentMachine();
  std::optional<std::string> remembered = machine.CurrentDirectory();
  bool entered = machine.ChangeCurrentDirectory(std::string(folder));
  if (remembered) machine.ChangeCurrentDirectory(*remembered);
  return entered;
}

}  // namespace setuvane
