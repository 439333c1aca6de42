// The machine of a dry run: it answers the installer's questions from a standard
// layout, looks for the medium's files in a real folder, hands out the setup files
// of the package from memory, and records what would change instead of changing
// it: folders made and programs run. Nothing on the disk is written.
#pragma once

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "system/machine.h"
#include "tools/plan/standard_layout.h"

namespace setuvane::pack {

class PlanningMachine final : public Machine {
 public:
  // `medium`: the real folder that stands for the layout's "Source" folder ("\" or
  // "/" between its parts); `setupFiles`: the bytes of each setup file by its bare
  // name, found in the layout's temporary folder.
  PlanningMachine(const StandardLayout& layout, std::string medium, std::map<std::string, std::string> setupFiles);

  // Command lines started, in order.
  const std::vector<std::string>& CommandLines() const { return commandLines_; }

  ShellFolderValue ReadShellFolderValue(const std::string& valueName) override;
  std::optional<std::string> WindowsDirectory() override;
  std::optional<std::string> SystemDirectory() override;
  std::optional<std::string> TempPath() override;
  std::optional<std::string> ModulePath() override;
  std::optional<std::uint32_t> FileAttributes(const std::string& path) override;
  bool MakeDirectory(const std::string& path) override;
  std::optional<std::string> CurrentDirectory() override;
  bool ChangeCurrentDirectory(const std::string& path) override;
  std::optional<DiskSpace> DiskFreeSpace(const std::string& root) override;
  std::optional<std::string> ReadWholeFile(const std::string& path, std::uint32_t& osError) override;
  std::optional<VersionRecord> Version() override;
  std::optional<std::uint32_t> RunProcess(const std::string& commandLine, int showWindow) override;
  std::optional<Handle> OpenOwnToken(std::uint32_t access) override;
  std::optional<std::uint64_t> LookupPrivilege(const std::string& name) override;
  std::uint32_t EnablePrivilege(Handle token, std::uint64_t privilege, std::uint32_t attributes) override;
  void ReleaseHandle(Handle handle) override;
  bool RequestExitWindows(std::uint32_t flags) override;
  bool PlaySoundFile(const char* path, std::uint32_t flags) override;
  // A plan runs nothing to its end: no installation of it is ever stopped.
  [[noreturn]] void EndProcessAtOnce(std::uint32_t exitCode) override { std::_Exit(static_cast<int>(exitCode)); }

 private:
  // `path` below `folder` (both compared as Windows compares names): the rest
  // after the folder's backslash, or nullopt.
  static std::optional<std::string> Below(const std::string& path, const std::string& folder);

  const StandardLayout& layout_;
  std::string medium_;
  std::map<std::string, std::string> setupFiles_;  // by the bare name in capitals
  std::set<std::string> madeFolders_;              // in capitals, without a final backslash
  std::vector<std::string> commandLines_;
};

}  // namespace setuvane::pack
