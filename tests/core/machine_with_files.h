// The system routines' fake machine, with files as well as folders.
#pragma once

#include <set>
#include <string>

#include "tests/system/fake_machine.h"

namespace setuvane::fakes {

class MachineWithFiles : public FakeMachine {
 public:
  std::set<std::string> files;
  std::optional<std::uint32_t> FileAttributes(const std::string& path) override {
    if (files.count(path)) return 0x20;  // FILE_ATTRIBUTE_ARCHIVE: a plain file
    return FakeMachine::FileAttributes(path);
  }
};

}  // namespace setuvane::fakes
