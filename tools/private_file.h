// A file for a secret handed to another program (the signing password): made new,
// readable by its owner alone from the first moment, never through a name that
// someone else prepared (an existing file or a link).
#pragma once

#include <filesystem>
#include <string_view>

namespace setuvane::pack {

// Creates `path`, which must not exist yet, and writes `content` into it; false
// when the name is taken or the file cannot be written.
bool WritePrivateFile(const std::filesystem::path& path, std::string_view content);

}  // namespace setuvane::pack
