#include "tools/file_bytes.h"

#include <fstream>
#include <iterator>

namespace setuvane::pack {

std::optional<std::vector<uint8_t>> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace setuvane::pack
