// The installer's program file as the package tool changes it to make a single-file
// installer: a signature and a carried package cut off (so that any setuvane.exe,
// signed or already a single file, can be the starting point), the resources laid
// out again with a new version resource, the package appended after the image and
// named in the program's package record, and the header checksum made right.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "core/package/embedded_package.h"
#include "pe/pe_layout.h"
#include "pe/resource_tree.h"

namespace setuvane::pack {

class ProgramFile {
 public:
  // Throws std::runtime_error when the bytes are no setuvane.exe (not a program,
  // or one without the package record).
  explicit ProgramFile(std::vector<uint8_t> bytes);

  // Cuts off a signature and a carried package and blanks the package record.
  void MakeBare();
  // The program's resources. Throws std::runtime_error when it has no resource
  // section of its own or the section is malformed.
  std::vector<Resource> Resources() const;
  // Lets `change` edit the list of resources, then writes the resource section
  // again in its place. Throws when the result does not fit the section.
  void ChangeResources(const std::function<void(std::vector<Resource>&)>& change);
  // Appends `package` (after 8-byte alignment) and names it in the record.
  EmbeddedPackage AppendPackage(const std::vector<uint8_t>& package);
  // For a single file: cuts off a signature and an uninstaller carried before,
  // appends `signedProgram` (after 8-byte alignment), packed when the program
  // unpacks it, and names it in the record. Throws std::runtime_error when the
  // file carries no package.
  void CarryUninstaller(const std::vector<uint8_t>& signedProgram);
  // The header checksum over the whole file, as the image help library computes it.
  void UpdateChecksum();

  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  void Reread();
  // The resource section and the room it may take (to the next section).
  std::pair<const PeSection*, size_t> ResourceRoom() const;
  void Put32(size_t at, uint32_t value);
  void WriteRecord(const std::optional<EmbeddedPackage>& package);

  std::vector<uint8_t> bytes_;
  PeLayout layout_;
  uint32_t recordOffset_ = 0;
};

}  // namespace setuvane::pack
