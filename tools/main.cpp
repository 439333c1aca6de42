// setuvane-pack: the package tool. `setuvane-pack COMMAND [OPTIONS] ARGUMENTS`.
#include "tools/command.h"
#include "tools/command_line.h"
#include "tools/console.h"

int main(int argc, char** argv) {
  CLI::App app("The package tool of the Setuvane installer.", "setuvane-pack");
  setuvane::pack::SetUpApplication(app);
  int exitCode = setuvane::pack::kSuccess;
  setuvane::pack::AddListCommand(app, exitCode);
  setuvane::pack::AddTestCommand(app, exitCode);
  setuvane::pack::AddExtractCommand(app, exitCode);
  setuvane::pack::AddBuildCommand(app, exitCode);
  setuvane::pack::AddPlanCommand(app, exitCode);
  setuvane::pack::AddSignCommand(app, exitCode);
  setuvane::pack::AddWingetCommand(app, exitCode);
  setuvane::pack::PrepareConsole();
  return setuvane::pack::RunCommandLine(app, setuvane::pack::ProgramArguments(argc, argv), exitCode);
}
