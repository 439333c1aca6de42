// A machine whose folders and files are those of the uninstallation's fake disk,
// so that the record's folder levels and the recorded places agree with it.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "tests/core/fake_uninstall_files.h"
#include "tests/system/fake_machine.h"

namespace setuvane::fakes {

class MachineOnUninstallDisk : public FakeMachine {
 public:
  explicit MachineOnUninstallDisk(FakeUninstallFiles& disk) : disk_(disk) { modulePath = "E:\\setuvane.exe"; }
  bool MakeDirectory(const std::string& path) override {
    disk_.folders.insert(path);
    return true;
  }
  std::optional<std::uint32_t> FileAttributes(const std::string& path) override {
    if (disk_.folders.count(path)) return 0x10;
    return disk_.files.count(path) ? std::optional<std::uint32_t>(0x20) : std::nullopt;
  }
  std::optional<std::string> LongPathName(const std::string& path) override {
    if (longNames.count(path)) return longNames[path];
    return FileAttributes(path) ? std::optional<std::string>(path) : std::nullopt;
  }

 private:
  FakeUninstallFiles& disk_;
};

}  // namespace setuvane::fakes
