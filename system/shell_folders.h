// The shell and system folders that the folder macros stand for. Every result ends
// in a backslash unless it is empty. Nothing is cached: each call asks the machine
// afresh (through the seam of system/machine.h).
#pragma once

#include <string>
#include <string_view>

namespace setuvane {

// The current user's folder registered under valueName in the "Shell Folders" key
// ("Desktop", "Favorites", "Start Menu", "Recent", "SendTo", "AppData"); empty when
// the key or the value is missing. Throws EFolderError for a value that is not text.
std::string GetShellFolder(std::string_view valueName);

// The "AppData" shell folder, or the Windows folder when that is not registered.
std::string GetAppDataFolder();
// The application-data folder followed by "Microsoft\Internet Explorer\Quick Launch\".
std::string GetQuickLaunchFolder();
// The folder of the running program (the installation medium).
std::string GetLaunchFolder();
std::string GetSystemFolder();
// The system's temporary folder; each run unpacks its setup files into a folder of
// its own below it.
std::string GetTempFolder();
std::string GetWindowsFolder();
// The first three characters of the Windows folder in capitals, such as "C:\".
std::string GetWindowsVolume();
// The folder of programs as the system registers it ("ProgramFilesDir"; under 64-bit
// Windows the folder of 32-bit programs), or the Windows volume followed by
// "Program Files\" where no folder is registered.
std::string GetProgramFilesFolder();

}  // namespace setuvane
