// The real machine of the Windows build: each operation of the seam is one Win32
// call (or a short fixed sequence of them) with the flags the installer needs.
// Declared here so that the Windows tests can replace a single operation, such as
// ExitWindowsEx, and keep the rest real.
#pragma once

#include "system/machine.h"

namespace setuvane {

class Win32Machine : public Machine {
 public:
  ShellFolderValue ReadShellFolderValue(const std::string& valueName) override;
  std::optional<std::string> WindowsDirectory() override;
  std::optional<std::string> SystemDirectory() override;
  std::optional<std::string> TempPath() override;
  std::optional<std::string> ModulePath() override;
  std::optional<std::string> ProgramFilesDirectory() override;
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
  MutexHold HoldNamedMutex(const std::string& name) override;
  bool HoldsName(const std::string& text) override;
  std::optional<std::string> LongPathName(const std::string& path) override;
  std::optional<std::string> UserSid() override;
  [[noreturn]] void EndProcessAtOnce(std::uint32_t exitCode) override;
  std::string AnsiCodePageText(std::string_view bytes) override;
};

}  // namespace setuvane
