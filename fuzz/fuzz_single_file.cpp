// Fuzz target: the input is a program file that may carry a package. Its headers,
// package record and resource section are read, the carried package and
// uninstaller checked, and the bare installer and the uninstaller cut from it, as
// the installer and the package tool do: any input must end in a refusal or an
// exception, never a crash, a hang or a read or write outside the bytes.
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "archive/memory_file_system.h"
#include "core/package/embedded_package.h"
#include "pe/pe_layout.h"
#include "pe/resource_tree.h"

using namespace setuvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  archive::MemoryFileSystem files;
  files.AddFile("setup.exe", std::vector<uint8_t>(data, data + size));
  const std::unique_ptr<archive::ReadableFile> program = files.OpenRead("setup.exe");
  if (const std::optional<EmbeddedPackage> package = ReadEmbeddedPackage(*program)) {
    CheckEmbeddedPackage(*program, *package);
  }
  ProgramPartLength(*program);
  BareInstallerOfSingleFile(*program);
  UninstallerOfSingleFile(*program);
  const std::optional<PeLayout> layout = ReadPeLayout(data, size);
  if (!layout) return 0;
  const PeDataDirectory directory = layout->Directory(kResourceDirectory);
  const std::optional<uint32_t> at = layout->FileOffsetOf(directory.address);
  if (!at || *at > size) return 0;
  try {
    ReadResources(std::vector<uint8_t>(data + *at, data + size), directory.address);
  } catch (const std::exception&) {
  }
  return 0;
}
