// Files, folders, the system's folders and processes through the set of calls that
// system/wide_or_ansi_choice_win32.h chooses: the W call with UTF-16 on the NT
// family, the ANSI call in the system's code page on Windows 9x. Paths come and go
// as UTF-8. Each function fails as its call does (the answer, GetLastError); on
// Windows 9x a name the code page cannot hold fails with kNameNotHeld before the
// system is asked. The names keep clear of the macros of windows.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace setuvane::win32 {

// CreateFile (no security attributes, no template).
HANDLE OpenFileAt(const std::string& path, DWORD access, DWORD share, DWORD creation, DWORD flags);
bool MakeFolderAt(const std::string& path);                       // CreateDirectory, no security attributes
bool RemoveFolderAt(const std::string& path);                     // RemoveDirectory
bool DeleteFileAt(const std::string& path);                       // DeleteFile
bool MoveFileAt(const std::string& from, const std::string& to);  // MoveFile
bool CopyFileAt(const std::string& from, const std::string& to, bool failIfExists);  // CopyFile
// MoveFileEx with MOVEFILE_REPLACE_EXISTING, and with MOVEFILE_DELAY_UNTIL_REBOOT
// (the file goes when Windows starts next): the NT family only; on Windows 9x, which
// has them as stubs, both fail with ERROR_CALL_NOT_IMPLEMENTED without a call.
// `writeThrough`: the move is on the disk when it returns (MOVEFILE_WRITE_THROUGH).
bool MoveFileReplacingAt(const std::string& from, const std::string& to, bool writeThrough = false);
bool RemoveAtRestartAt(const std::string& path);
bool ReplaceAtRestartAt(const std::string& from, const std::string& to);  // both flags
DWORD AttributesAt(const std::string& path);  // INVALID_FILE_ATTRIBUTES on failure
bool SetAttributesAt(const std::string& path, DWORD attributes);

// A file or folder that FindFirstFile and FindNextFile report.
struct FoundFile {
  std::string name;  // without the folder
  DWORD attributes = 0;
  // With FILE_ATTRIBUTE_REPARSE_POINT: the reparse point's tag (IO_REPARSE_TAG_...),
  // or 0 where the system does not tell it.
  DWORD reparseTag = 0;
};
// What the mask (a path whose last part may hold "*" and "?") finds; empty when
// nothing, or on failure.
std::vector<FoundFile> FindFiles(const std::string& mask);

// The system's folders, each in full (a buffer too small is grown), the temporary
// folder with its final backslash; nullopt when the call fails.
std::optional<std::string> WindowsFolderPath();    // GetWindowsDirectory
std::optional<std::string> SystemFolderPath();     // GetSystemDirectory
std::optional<std::string> TemporaryFolderPath();  // GetTempPath
std::optional<std::string> CurrentFolderPath();    // GetCurrentDirectory
bool EnterFolderAt(const std::string& path);       // SetCurrentDirectory
// The file of a loaded module (nullptr: the running program).
std::optional<std::string> ModuleFilePath(HMODULE module);
// GetTempFileName with a unique number: the new, empty file's path.
std::optional<std::string> NewTemporaryFileIn(const std::string& folder, const char* prefix);
// GetShortPathName: the 8.3 form of an existing file's path.
std::optional<std::string> ShortPathOf(const std::string& path);
// The long form of an existing path, every part as the folder lists it:
// GetLongPathName where the system has it (Windows 98 and 2000 on, looked up at run
// time), else each part found with FindFirstFile. nullopt when a part is missing.
std::optional<std::string> LongPathOf(const std::string& path);

// The space of the volume whose root is given.
struct VolumeSpace {
  // GetDiskFreeSpace's counts.
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  // GetDiskFreeSpaceEx's first answer, the bytes free to this user (quotas
  // count), where the system has the call (Windows 95 OSR2 and NT 4.0 on).
  std::optional<std::uint64_t> bytesFreeToCaller;
};
std::optional<VolumeSpace> VolumeSpaceAt(const std::string& root);

// CreateProcess with the command line (copied: the call may write into it), no
// security attributes, handles not inherited, the environment of this process;
// `application` and `folder` may be empty (none given). The show state applies
// when `show` is given.
bool StartProcess(const std::string& application, const std::string& commandLine, DWORD flags,
                  const std::string& folder, std::optional<WORD> show, PROCESS_INFORMATION& process);

// The program's command line as Windows hands it (GetCommandLine).
std::string ProgramCommandLine();

// fopen with "wb": a new or emptied file for a C stream; nullptr on failure.
std::FILE* OpenStreamForWriting(const std::string& path);

}  // namespace setuvane::win32
