// The seam between the system routines and Windows: every machine operation that
// the text-level logic of the folder macros, queries and actions needs, one call
// each, nothing decided here. Production code uses the process-wide default (the
// Win32 implementation in the Windows build); tests install a fake with
// ScopedMachine. All texts and paths are the program's UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setuvane {

// A value of the current user's "Shell Folders" key.
struct ShellFolderValue {
  enum class Kind { kMissing, kText, kNotText };
  Kind kind = Kind::kMissing;  // kMissing also when the key does not open
  std::string text;            // as stored, for kText
};

// GetDiskFreeSpace's four counts, and where the system has GetDiskFreeSpaceEx (from
// Windows 95 OSR2 and NT 4.0 on) its 64-bit count of the bytes free to this user,
// which a disk quota makes fewer than the volume's.
struct DiskSpace {
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  std::uint32_t totalClusters = 0;
  std::optional<std::uint64_t> bytesFreeToCaller;
};

// The fields of the OSVERSIONINFOA record that the installer reads.
struct VersionRecord {
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
};

// The bit of a FileAttributes answer that marks a folder (FILE_ATTRIBUTE_DIRECTORY).
constexpr std::uint32_t kDirectoryAttribute = 0x10;

enum class MutexHold { kHeld, kHeldElsewhere, kFailed };

class Machine {
 public:
  using Handle = std::uintptr_t;

  virtual ~Machine() = default;

  // Folders, each in full (the Win32 side retries with a larger buffer when the
  // first is too small); nullopt when the call fails.
  virtual ShellFolderValue ReadShellFolderValue(const std::string& valueName) = 0;
  virtual std::optional<std::string> WindowsDirectory() = 0;
  virtual std::optional<std::string> SystemDirectory() = 0;
  virtual std::optional<std::string> TempPath() = 0;
  virtual std::optional<std::string> ModulePath() = 0;  // the running program
  // The "ProgramFilesDir" value of the key Software\Microsoft\Windows\CurrentVersion
  // of HKEY_LOCAL_MACHINE as stored, in the program's own view of the registry (under
  // 64-bit Windows a 32-bit program reads its own folder, "Program Files (x86)");
  // nullopt when the value is missing or not text. A machine that does not say
  // answers nullopt, and the folder follows the Windows volume.
  virtual std::optional<std::string> ProgramFilesDirectory() { return std::nullopt; }

  // Files and folders. (The names keep clear of the Win32 macros of windows.h.)
  virtual std::optional<std::uint32_t> FileAttributes(const std::string& path) = 0;
  virtual bool MakeDirectory(const std::string& path) = 0;
  virtual std::optional<std::string> CurrentDirectory() = 0;
  virtual bool ChangeCurrentDirectory(const std::string& path) = 0;
  virtual std::optional<DiskSpace> DiskFreeSpace(const std::string& root) = 0;
  // The whole content of a file; on failure nullopt, with the system's error code
  // (ERROR_FILE_NOT_FOUND and the like) in `osError`.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path, std::uint32_t& osError) = 0;

  virtual std::optional<VersionRecord> Version() = 0;

  // Starts the command line (CREATE_NEW_CONSOLE, the show state), waits for the
  // process without a time limit and returns its exit code; nullopt when it did
  // not start.
  virtual std::optional<std::uint32_t> RunProcess(const std::string& commandLine, int showWindow) = 0;

  // The steps that enable the shutdown privilege (OpenProcessToken of the current
  // process, LookupPrivilegeValueA, AdjustTokenPrivileges), then ExitWindowsEx.
  virtual std::optional<Handle> OpenOwnToken(std::uint32_t access) = 0;
  virtual std::optional<std::uint64_t> LookupPrivilege(const std::string& name) = 0;
  // AdjustTokenPrivileges with one entry; returns GetLastError read right after it.
  virtual std::uint32_t EnablePrivilege(Handle token, std::uint64_t privilege,
                                        std::uint32_t attributes) = 0;
  virtual void ReleaseHandle(Handle handle) = 0;
  virtual bool RequestExitWindows(std::uint32_t flags) = 0;

  // sndPlaySound; a null path stops the sound playing.
  virtual bool PlaySoundFile(const char* path, std::uint32_t flags) = 0;

  // Creates the named mutex `name` (CreateMutex) and keeps it until the process
  // ends: kHeldElsewhere when another process made it already, kFailed when it
  // cannot be made at all (a name the system refuses). A machine that cannot tell
  // answers kHeld.
  virtual MutexHold HoldNamedMutex(const std::string&) { return MutexHold::kHeld; }
  // Whether the system's calls take the text as a name as it stands: on Windows 9x
  // only what its ANSI code page holds; elsewhere every text.
  virtual bool HoldsName(const std::string&) { return true; }
  // Text in the system's ANSI code page as UTF-8 (the form the ANSI calls gave
  // earlier versions of the program). A machine that does not say takes it for
  // Windows-1250, the code page of the installer's Polish systems.
  virtual std::string AnsiCodePageText(std::string_view bytes);
  // The long form of an existing file's or folder's path (no short 8.3 names); a
  // machine that cannot tell, or a path that does not exist: nullopt.
  virtual std::optional<std::string> LongPathName(const std::string&) { return std::nullopt; }
  // The SID of the account this process runs as, in its text form ("S-1-5-21-…");
  // nullopt where there is none (Windows 9x) or it cannot be told.
  virtual std::optional<std::string> UserSid() { return std::nullopt; }
  // Ends the process at once, as a power cut or Task Manager would: nothing more of
  // it runs (tests of an installation stopped half-way).
  [[noreturn]] virtual void EndProcessAtOnce(std::uint32_t exitCode) = 0;
};

// The machine the system routines talk to.
Machine& CurrentMachine();

// The real machine of this build: Win32 on Windows; natively a machine on which
// every operation fails (there is no Windows to ask).
Machine& DefaultMachine();

// Makes the routines talk to another machine for its lifetime (tests).
class ScopedMachine {
 public:
  explicit ScopedMachine(Machine& machine);
  ~ScopedMachine();
  ScopedMachine(const ScopedMachine&) = delete;
  ScopedMachine& operator=(const ScopedMachine&) = delete;

 private:
  Machine* previous_;
};

}  // namespace setuvane
