#include "tools/build/package_file.h"

#include <chrono>
#include <fstream>
#include <stdexcept>

namespace setuvane::pack {
namespace {

namespace fs = std::filesystem;

DosStamp ToDos(const std::tm& tm) {
  if (tm.tm_year < 80) return {0, (1 << 5) | 1};  // before 1980: 1980-01-01 00:00
  return {static_cast<uint16_t>(tm.tm_hour << 11 | tm.tm_min << 5 | tm.tm_sec / 2),
          static_cast<uint16_t>((tm.tm_year - 80) << 9 | (tm.tm_mon + 1) << 5 | tm.tm_mday)};
}

// The installer stamps extracted files with the entry's time taken as local time.
DosStamp FileStamp(const fs::path& path) {
  std::error_code error;
  const auto written = fs::last_write_time(path, error);
  if (error) return ToDos(std::tm{});
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
  const std::tm* local = std::localtime(&t);
  return local ? ToDos(*local) : ToDos(std::tm{});
}

// The same time everywhere: taken in UTC, not in the builder's time zone.
DosStamp FixedStamp(std::time_t t) {
  const std::tm* utc = std::gmtime(&t);
  return utc ? ToDos(*utc) : ToDos(std::tm{});
}

}  // namespace

DosStamp EntryStamp(const PackageFile& file, std::optional<std::time_t> fixedTime) {
  return fixedTime ? FixedStamp(*fixedTime) : FileStamp(file.source);
}

std::vector<uint8_t> ReadWhole(const PackageFile& file) {
  if (file.content) return std::vector<uint8_t>(file.content->begin(), file.content->end());
  std::ifstream in(file.source, std::ios::binary);
  std::vector<uint8_t> bytes(file.size);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())) || in.peek() != EOF) {
    throw std::runtime_error(PathText(file.source) + ": cannot be read whole (did it change?)");
  }
  return bytes;
}

std::string JoinDestination(const std::string& destination, const std::string& name) {
  if (destination.empty() || destination.back() == '\\' || destination.back() == '>') return destination + name;
  return destination + "\\" + name;
}

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromText(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace setuvane::pack
