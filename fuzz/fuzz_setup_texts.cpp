// Fuzz target: the setup texts of a package, read by the installer's own code on a
// machine made of plain data. The input holds install.inf, registry.inf and
// shortcut.inf one after another, each ended by a NUL byte (a missing one is empty).
// The settings lines are applied as the installer applies them, then the registry
// script and the shortcut script run with the program folder they gave, writing to
// a registry and a shortcut writer held in memory. Reported problems are the
// scripts' normal answers, and a shortcut file without a folder fails with
// EFolderError as documented; any other exception, a crash or a hang is a finding.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/run/installer_state.h"
#include "core/package/settings.h"
#include "system/folder_error.h"
#include "system/registry_script.h"
#include "system/setup_text.h"
#include "system/shortcut_script.h"
#include "tests/system/fake_link_writer.h"
#include "tests/system/fake_machine.h"
#include "tests/system/fake_registry.h"

using namespace setuvane;

namespace {

// The next text of the input up to its NUL byte (or the end).
std::string NextText(const uint8_t*& data, const uint8_t* end) {
  const uint8_t* start = data;
  while (data != end && *data != 0) ++data;
  std::string text(reinterpret_cast<const char*>(start), data - start);
  if (data != end) ++data;
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* end = data + size;
  fakes::FakeMachine machine;
  machine.SetShellFolder("Start Menu", "C:\\WINDOWS\\Menu Start");
  machine.SetShellFolder("Desktop", "C:\\WINDOWS\\Pulpit");
  machine.directories = {"C:", "C:\\WINDOWS", "C:\\WINDOWS\\TEMP", "C:\\WINDOWS\\Menu Start"};
  const std::string temp = *machine.tempPath;
  machine.fileContents[temp + "install.inf"] = NextText(data, end);
  machine.fileContents[temp + "registry.inf"] = NextText(data, end);
  machine.fileContents[temp + "shortcut.inf"] = NextText(data, end);
  fakes::FakeRegistry registry;
  fakes::FakeLinkWriter writer;
  ScopedMachine scopedMachine{machine};
  ScopedRegistry scopedRegistry{registry};
  ScopedShellLinkWriter scopedWriter{writer};

  SetupFolder = temp;
  SetDefaultSettings();
  for (const std::string& line : ReadSetupTextFile(SetupFolder + "install.inf")) ApplySettingsLine(line);
  const auto ignore = [](const Problem&) {};
  RunRegistryScript(SetupFolder, ProductLocation, ignore);
  TShellLink linker;
  try {
    RunShortcutScript(linker, SetupFolder, ProductLocation, ignore);
  } catch (const EFolderError&) {
  }
  return 0;
}
