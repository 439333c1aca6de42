#include "system/system_library.h"

#include <windows.h>

#include <string>

#include "system/machine.h"
#include "system/text_helpers.h"
#include "system/wide_or_ansi_choice_win32.h"

namespace setuvane {

void* LoadSystemLibrary(const char* name) {
  // LOAD_LIBRARY_SEARCH_SYSTEM32 is understood where AddDllDirectory exists;
  // elsewhere the full path in the system folder says the same.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel && GetProcAddress(kernel, "AddDllDirectory")) {
    return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  std::optional<std::string> folder = DefaultMachine().SystemDirectory();
  if (!folder) return nullptr;
  // The system folder's name is ASCII on every Windows the program meets; one that
  // the code page cannot hold loads nothing rather than another file.
  const std::optional<std::string> path = win32::Ansi(AddBackslash(*folder) + name);
  return path ? LoadLibraryExA(path->c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH) : nullptr;
}

}  // namespace setuvane
