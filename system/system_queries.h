// Questions the installer asks the system. None of them throws: failures come back
// as empty text, -1 or false.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace setuvane {

// "major.minor.build", e.g. "5.0.2195"; empty when the version cannot be read.
std::string GetWindowsVersion();

// "Microsoft Win32s", "Microsoft Windows 95", "Microsoft Windows NT" or empty.
std::string GetWindowsPlatform();

// Free bytes of the volume whose root the path names ("C:" or "C:\"), as a 64-bit
// count so that volumes with more than 2 GiB free are reported truly; -1 when the
// volume cannot be queried (no such drive, no medium).
std::int64_t GetDiskFreeBytes(std::string_view path);

// True when the folder can be made the current directory. The current directory
// is the same afterwards.
bool CanEnterDirectory(std::string_view folder);

// True when the path names a file (a folder of that name does not count).
bool FileExists(std::string_view path);

// True when the system takes the text as a name as it stands (Windows 9x takes
// only what its code page holds).
bool SystemHoldsName(std::string_view text);

// Text in the system's ANSI code page as UTF-8.
std::string FromAnsiCodePage(std::string_view bytes);

}  // namespace setuvane
