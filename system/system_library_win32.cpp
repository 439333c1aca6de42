#include "system/system_library.h"

#include <windows.h>

#include <string>

#include "system/machine.h"
#include "system/text_helpers.h"

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
  const std::string path = AddBackslash(*folder) + name;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace setuvane
