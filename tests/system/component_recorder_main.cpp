// Helper program of the Windows tests, copied into the component folders of a test
// medium (and once as a decoy): appends its own path and the command line it
// received, as "path|command line", to the file named by SETUVANE_COMPONENT_LOG,
// and exits with code 3 (which the installer must not examine). With
// SETUVANE_COMPONENT_SLEEP_MS set it first waits that long, so that an installation
// is surely still running when a test starts another.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
  char pause[16] = {};
  if (GetEnvironmentVariableA("SETUVANE_COMPONENT_SLEEP_MS", pause, sizeof pause)) Sleep(DWORD(std::atoi(pause)));
  char log[MAX_PATH] = {};
  char self[MAX_PATH] = {};
  if (GetEnvironmentVariableA("SETUVANE_COMPONENT_LOG", log, MAX_PATH) && GetModuleFileNameA(nullptr, self, MAX_PATH)) {
    if (std::FILE* out = std::fopen(log, "ab")) {
      std::fprintf(out, "%s|%s\n", self, GetCommandLineA());
      std::fclose(out);
    }
  }
  return 3;
}
