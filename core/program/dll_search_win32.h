// Keeps the program from loading DLLs out of its own folder, which on an
// installation medium or in a download folder others may write to.
#pragma once

namespace setuvane {

enum class DllSearchRestriction {
  kSystemFolderOnly,  // SetDefaultDllDirectories: only the system folder is searched
  kNoCurrentFolder,   // SetDllDirectoryA(""): the current folder is left out
  kNone,              // an old system with neither call
};

// Restricts the DLL search path of the process; call it first thing.
DllSearchRestriction RestrictDllSearchPath();

}  // namespace setuvane
