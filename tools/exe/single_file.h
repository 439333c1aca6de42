// A single-file installer: setuvane.exe carrying the package, with a version
// resource that names the product (tools/exe/program_file.h does the work on the
// file). What the version resource says comes from the package's install.inf,
// read by the installer's own settings reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pe/version_info.h"

namespace setuvane::pack {

// The texts of install.inf (Windows-1250 content) that the version resource
// carries, as the installer would read them.
struct ProductTexts {
  std::string taskTitle;  // INSTALL_TASK_TITLE, the installer's own title
  std::string mainTitle;  // INSTALL_MAIN_TITLE, the product's name
  std::string version;    // PRODUCT_VERSION
  std::string publisher;  // PRODUCT_PUBLISHER
};
ProductTexts ReadProductTexts(const std::string& installInf);

// The version resource of a single file named `fileName`: the file description is
// the installer's title, the product name the main title, the company the
// publisher, both versions the product's (numbers and text); Polish, UTF-16.
VersionInfo ProductVersionInfo(const ProductTexts& texts, const std::string& fileName);

// `installer` (any setuvane.exe: bare, signed, or a single file already) made into
// a single file carrying `package`. Throws std::runtime_error with a message for
// the console.
std::vector<uint8_t> MakeSingleFile(std::vector<uint8_t> installer, const std::vector<uint8_t>& package,
                                    const VersionInfo& version);

}  // namespace setuvane::pack
