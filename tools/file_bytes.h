// A whole file of the machine the tool runs on, read into memory: the installer a
// single file is made of, a package, a signed program.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace setuvane::pack {

// The file's bytes; nothing when it cannot be opened or read to its end.
std::optional<std::vector<uint8_t>> ReadBytes(const std::filesystem::path& path);

}  // namespace setuvane::pack
