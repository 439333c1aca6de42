// Helper program of the Windows version tests: started with Wine set to report an
// older Windows for it, it writes to the file named by its argument what the
// installer's version-dependent rules decide there, one fact a line:
//   version <version text>
//   platform <platform text>
//   component <command line>      for each component row its medium would run
//   privilege <yes|no>            whether the shutdown privilege was asked for
//   shutdown <result> <flags>     ShutDownWindows(1) and the ExitWindowsEx flags
//   decode-ahead <yes|no>         whether extractions decode ahead on a second thread
// Windows is not really restarted: the real machine answers everything else.
#include <windows.h>

#include <cstdio>
#include <string>

#include "archive/decode_ahead.h"
#include "system/shell_folders.h"
#include "system/system_actions.h"
#include "system/system_components.h"
#include "system/system_queries.h"
#include "system/win32_machine.h"

namespace {

class NoRestartMachine : public setuvane::Win32Machine {
 public:
  std::optional<Handle> OpenOwnToken(std::uint32_t access) override {
    askedForToken = true;
    return Win32Machine::OpenOwnToken(access);
  }
  bool RequestExitWindows(std::uint32_t flags) override {
    exitFlags = flags;
    return true;
  }
  bool askedForToken = false;
  std::uint32_t exitFlags = 0xFFFFFFFF;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace setuvane;
  if (argc != 2) return 2;
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) return 3;
  NoRestartMachine machine;
  ScopedMachine scoped(machine);
  std::fprintf(out, "version %s\nplatform %s\n", GetWindowsVersion().c_str(), GetWindowsPlatform().c_str());
  const std::string launchFolder = GetLaunchFolder();
  for (const ComponentRun& run : SystemComponentsToRun(launchFolder)) {
    std::fprintf(out, "component %s\n", run.commandLine.c_str());
  }
  const int result = ShutDownWindows(1);
  std::fprintf(out, "privilege %s\nshutdown %d %u\n", machine.askedForToken ? "yes" : "no", result,
               static_cast<unsigned>(machine.exitFlags));
  std::fprintf(out, "decode-ahead %s\n", archive::DecodeAheadByDefault() ? "yes" : "no");
  std::fclose(out);
  return 0;
}
