// The native build has no Windows to ask: its default machine fails every
// operation, so the routines answer with their failure results. The logic above
// the seam is exercised natively through fakes.
#include <cstdlib>

#include "system/machine.h"

namespace setuvane {
namespace {

class AbsentMachine final : public Machine {
 public:
  ShellFolderValue ReadShellFolderValue(const std::string&) override { return {}; }
  std::optional<std::string> WindowsDirectory() override { return std::nullopt; }
  std::optional<std::string> SystemDirectory() override { return std::nullopt; }
  std::optional<std::string> TempPath() override { return std::nullopt; }
  [[noreturn]] void EndProcessAtOnce(std::uint32_t exitCode) override { std::_Exit(static_cast<int>(exitCode)); }
  std::optional<std::string> ModulePath() override { return std::nullopt; }
  std::optional<std::uint32_t> FileAttributes(const std::string&) override { return std::nullopt; }
  bool MakeDirectory(const std::string&) override { return false; }
  std::optional<std::string> CurrentDirectory() override { return std::nullopt; }
  bool ChangeCurrentDirectory(const std::string&) override { return false; }
  std::optional<DiskSpace> DiskFreeSpace(const std::string&) override { return std::nullopt; }
  std::optional<std::string> ReadWholeFile(const std::string&, std::uint32_t& osError) override {
    osError = 2;  // ERROR_FILE_NOT_FOUND
    return std::nullopt;
  }
  std::optional<VersionRecord> Version() override { return std::nullopt; }
  std::optional<std::uint32_t> RunProcess(const std::string&, int) override { return std::nullopt; }
  std::optional<Handle> OpenOwnToken(std::uint32_t) override { return std::nullopt; }
  std::optional<std::uint64_t> LookupPrivilege(const std::string&) override { return std::nullopt; }
  std::uint32_t EnablePrivilege(Handle, std::uint64_t, std::uint32_t) override { return 1; }
  void ReleaseHandle(Handle) override {}
  bool RequestExitWindows(std::uint32_t) override { return false; }
  bool PlaySoundFile(const char*, std::uint32_t) override { return false; }
};

}  // namespace

Machine& DefaultMachine() {
  static AbsentMachine machine;
  return machine;
}

}  // namespace setuvane
