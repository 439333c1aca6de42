// The entry of the installer's code. The code is linked as a DLL that
// setuvane.exe, a small starter (starter/), carries compressed, unpacks into a
// folder of its own and calls through this one exported function. The program's
// module is still the starter's: its file holds the package record, the resources
// (pictures, icon, version) and what the uninstaller copies, and the code finds
// them through GetModuleHandle(NULL) and GetModuleFileName(NULL) as before.
#pragma once

#include <windows.h>

namespace setuvane {

struct ProgramStart {
  HINSTANCE program;  // the starter's module
  int show;           // WinMain's show flag
};

// Runs the installer (or uninstaller) and returns the process's exit code. Every
// thread of the code has ended when it returns.
using ProgramEntry = int(__cdecl*)(const ProgramStart* start);
inline constexpr char kProgramEntryName[] = "SetuvaneRun";

}  // namespace setuvane
