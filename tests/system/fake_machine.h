// A machine made of plain data for the native tests: each operation answers from
// its field and records that it was asked.
#pragma once

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "system/machine.h"

namespace setuvane::fakes {

class FakeMachine : public Machine {
 public:
  std::map<std::string, ShellFolderValue> shellFolders;
  std::optional<std::string> windowsDirectory = "C:\\WINDOWS";
  std::optional<std::string> systemDirectory = "C:\\WINDOWS\\SYSTEM";
  std::optional<std::string> tempPath = "C:\\WINDOWS\\TEMP\\";
  std::optional<std::string> modulePath = "E:\\INSTALL\\SETUVANE.EXE";
  std::optional<std::string> programFilesDirectory;  // none registered
  std::set<std::string> directories;  // existing folders, without trailing backslash
  std::set<std::string> files;        // existing files
  std::set<std::string> refusedDirectories;
  std::optional<std::string> currentDirectory = "C:\\WORK";
  std::set<std::string> enterableDirectories = {"C:\\WORK"};
  std::map<std::string, std::string> fileContents;  // readable files and their bytes
  std::optional<DiskSpace> diskSpace;
  std::optional<VersionRecord> version = VersionRecord{5, 0, 2195, 2};
  std::optional<std::uint32_t> exitCode = 0;
  bool tokenOpens = true;
  bool privilegeFound = true;
  std::uint32_t adjustLastError = 0;
  bool soundPlays = true;
  // A letter the system's code page lacks, as on a Windows 9x; empty: every name holds.
  std::string unheldLetter;
  // Existing paths by a short spelling, and the long form the system gives for them.
  std::map<std::string, std::string> longNames;
  std::optional<std::string> userSid;  // the account the program runs as (none: Windows 9x)

  // What was asked, in order.
  std::vector<std::string> calls;
  std::vector<std::string> created;
  std::vector<std::string> enteredDirectories;
  std::string diskRoot;
  std::string commandLine;  // the last one run
  std::vector<std::string> commandLines;
  int showWindow = -1;
  std::uint32_t tokenAccess = 0;
  std::uint64_t enabledPrivilege = 0;
  std::uint32_t enabledAttributes = 0;
  std::optional<std::uint32_t> exitFlags;
  std::vector<std::pair<std::optional<std::string>, std::uint32_t>> sounds;

  void SetShellFolder(const std::string& name, const std::string& folder) {
    shellFolders[name] = {ShellFolderValue::Kind::kText, folder};
  }

  ShellFolderValue ReadShellFolderValue(const std::string& valueName) override {
    calls.push_back("ShellFolder " + valueName);
    auto found = shellFolders.find(valueName);
    return found == shellFolders.end() ? ShellFolderValue{} : found->second;
  }
  std::optional<std::string> WindowsDirectory() override { return Asked("WindowsDirectory", windowsDirectory); }
  std::optional<std::string> SystemDirectory() override { return Asked("SystemDirectory", systemDirectory); }
  std::optional<std::string> TempPath() override { return Asked("TempPath", tempPath); }
  std::optional<std::string> ModulePath() override { return Asked("ModulePath", modulePath); }
  std::optional<std::string> ProgramFilesDirectory() override {
    return Asked("ProgramFilesDirectory", programFilesDirectory);
  }
  std::optional<std::uint32_t> FileAttributes(const std::string& path) override {
    calls.push_back("FileAttributes " + path);
    if (directories.count(path)) return 0x10;
    if (files.count(path)) return 0x20;  // FILE_ATTRIBUTE_ARCHIVE
    return std::nullopt;
  }
  bool MakeDirectory(const std::string& path) override {
    calls.push_back("MakeDirectory " + path);
    if (refusedDirectories.count(path)) return false;
    created.push_back(path);
    directories.insert(path);
    return true;
  }
  std::optional<std::string> CurrentDirectory() override { return currentDirectory; }
  bool ChangeCurrentDirectory(const std::string& path) override {
    enteredDirectories.push_back(path);
    if (!enterableDirectories.count(path)) return false;
    currentDirectory = path;
    return true;
  }
  std::optional<std::string> ReadWholeFile(const std::string& path, std::uint32_t& osError) override {
    calls.push_back("ReadWholeFile " + path);
    auto found = fileContents.find(path);
    if (found == fileContents.end()) {
      osError = 2;  // ERROR_FILE_NOT_FOUND
      return std::nullopt;
    }
    return found->second;
  }
  std::optional<DiskSpace> DiskFreeSpace(const std::string& root) override {
    diskRoot = root;
    return diskSpace;
  }
  // Named mutexes asked for, those another process holds, and those the system refuses.
  std::vector<std::string> namedMutexes;
  std::set<std::string> namedMutexesElsewhere;
  std::set<std::string> namedMutexesRefused;
  std::optional<std::string> UserSid() override { return userSid; }
  MutexHold HoldNamedMutex(const std::string& name) override {
    namedMutexes.push_back(name);
    if (namedMutexesRefused.count(name)) return MutexHold::kFailed;
    return namedMutexesElsewhere.count(name) ? MutexHold::kHeldElsewhere : MutexHold::kHeld;
  }
  std::optional<VersionRecord> Version() override { return version; }
  std::optional<std::uint32_t> RunProcess(const std::string& line, int show) override {
    commandLine = line;
    commandLines.push_back(line);
    showWindow = show;
    return exitCode;
  }
  std::optional<Handle> OpenOwnToken(std::uint32_t access) override {
    calls.push_back("OpenOwnToken");
    tokenAccess = access;
    return tokenOpens ? std::optional<Handle>(42) : std::nullopt;
  }
  std::optional<std::uint64_t> LookupPrivilege(const std::string& name) override {
    calls.push_back("LookupPrivilege " + name);
    return privilegeFound ? std::optional<std::uint64_t>(0x1300000013) : std::nullopt;
  }
  std::uint32_t EnablePrivilege(Handle token, std::uint64_t privilege, std::uint32_t attributes) override {
    calls.push_back("EnablePrivilege " + std::to_string(token));
    enabledPrivilege = privilege;
    enabledAttributes = attributes;
    return adjustLastError;
  }
  void ReleaseHandle(Handle handle) override { calls.push_back("ReleaseHandle " + std::to_string(handle)); }
  bool RequestExitWindows(std::uint32_t flags) override {
    calls.push_back("RequestExitWindows");
    exitFlags = flags;
    return false;  // the result must not matter
  }
  bool PlaySoundFile(const char* path, std::uint32_t flags) override {
    sounds.emplace_back(path ? std::optional<std::string>(path) : std::nullopt, flags);
    return soundPlays;
  }
  bool HoldsName(const std::string& text) override {
    return unheldLetter.empty() || text.find(unheldLetter) == std::string::npos;
  }
  [[noreturn]] void EndProcessAtOnce(std::uint32_t exitCode) override { std::_Exit(static_cast<int>(exitCode)); }
  std::optional<std::string> LongPathName(const std::string& path) override {
    const auto found = longNames.find(path);
    if (found != longNames.end()) return found->second;
    return directories.count(path) || files.count(path) ? std::optional<std::string>(path) : std::nullopt;
  }

 private:
  std::optional<std::string> Asked(const char* what, const std::optional<std::string>& answer) {
    calls.push_back(what);
    return answer;
  }
};

}  // namespace setuvane::fakes
