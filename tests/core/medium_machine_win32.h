// The real Windows machine, but with the running program's folder on a test medium
// and the temporary folder replaced by a test folder; sounds are recorded rather
// than played.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "system/win32_machine.h"

namespace setuvane::fakes {

class MediumMachine : public Win32Machine {
 public:
  MediumMachine(std::string medium, std::string setup) : medium_(std::move(medium)), setup_(std::move(setup)) {}
  std::optional<std::string> ModulePath() override { return medium_ + "setuvane.exe"; }
  std::optional<std::string> TempPath() override { return setup_; }
  bool PlaySoundFile(const char* path, std::uint32_t flags) override {
    sounds.emplace_back(path ? std::optional<std::string>(path) : std::nullopt, flags);
    return true;
  }
  std::vector<std::pair<std::optional<std::string>, std::uint32_t>> sounds;

 private:
  std::string medium_, setup_;
};

}  // namespace setuvane::fakes
