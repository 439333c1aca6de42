// A machine for the installer core's tests: a medium E:\INSTALL holding install.zip,
// the temporary folder C:\WINDOWS\TEMP as the setup folder, and drive C: with 100 MB
// free, all on one memory disk that the unzip components and the folder routines share.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/memory_file_system.h"
#include "core/run/installer_state.h"
#include "core/package/settings.h"
#include "tests/archive/zip_writer.h"
#include "tests/core/machine_over_memory.h"
#include "tests/core/recording_dialogs.h"

namespace setuvane::fakes {

using archive::testing::Bytes;
using archive::testing::ToBytes;
using archive::testing::ZipEntryLayout;

// An entry of the package, encrypted under the package password.
inline ZipEntryLayout PackageEntry(const std::string& name, const std::string& content,
                                   const std::string& destination = "") {
  return {.name = name, .data = ToBytes(content), .method = 8, .password = "tarnwick", .centralExtra = destination};
}

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* folder : {"C:", "C:\\WINDOWS", "C:\\WINDOWS\\TEMP", "C:\\WINDOWS\\SYSTEM", "E:", "E:\\INSTALL"})
      disk.AddFolder(folder);
    machine.modulePath = "E:\\INSTALL\\SETUVANE.EXE";
    machine.tempPath = "C:\\WINDOWS\\TEMP\\";
    machine.diskSpace = DiskSpace{1, 1, 100u << 20, 200u << 20, std::nullopt};
    Dialogs() = {};
    LaunchFolder = "E:\\INSTALL\\";
    SetupFolder = "C:\\WINDOWS\\TEMP\\";
    PageIndex = 1;
    CurrentPage = nullptr;
    SetDefaultSettings();
    ProductLocation = "C:\\Aplikacja\\";
  }

  void WritePackage(std::vector<ZipEntryLayout> entries) {
    disk.AddFile("E:\\INSTALL\\install.zip", archive::testing::BuildZip({.entries = std::move(entries)}).bytes);
  }
  std::string FileText(const std::string& path) {
    const auto& files = disk.Files();
    const auto found = files.find(path);
    if (found == files.end()) return "<missing>";
    return std::string(found->second.data.begin(), found->second.data.end());
  }

  archive::MemoryFileSystem disk;
  MachineOverMemory machine{disk};
  ScopedMachine scoped{machine};
};

}  // namespace setuvane::fakes
