// Program entry of the installer. Without arguments it is the interactive wizard;
// the switches of core/run/switches.h run it unattended.
#include <windows.h>

#include <objbase.h>

#include <optional>

#include "core/program/default_interface_win32.h"
#include "core/program/dll_search_win32.h"
#include "core/run/exit_codes.h"
#include "core/program/install_log.h"
#include "core/run/switches.h"
#include "core/program/unattended_win32.h"
#include "core/uninstallation/uninstaller_win32.h"
#include "dialogs/application_title.h"
#include "dialogs/message_routines.h"
#include "dialogs/uncaught_failure.h"
#include "system/install_journal.h"
#include "system/wide_or_ansi_files_win32.h"
#include "widgets/wide_or_ansi_win32.h"

namespace {

// The application object's part: COM for this thread (the shortcut writer needs
// it), released again when the program ends normally.
class ComForThread {
 public:
  ComForThread() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComForThread() {
    if (initialised_) CoUninitialize();
  }
  ComForThread(const ComForThread&) = delete;
  ComForThread& operator=(const ComForThread&) = delete;

 private:
  bool initialised_;
};

int RunMessageLoop(setuvane::TfrmDefaultInterface& form) {
  MSG msg;
  while (setuvane::ui::NextMessage(msg) > 0) {
    form.PreviewKey(msg);
    TranslateMessage(&msg);
    setuvane::ui::Dispatch(msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace setuvane;
  RestrictDllSearchPath();
  ComForThread com;
  SetApplicationTitle("Setuvane");
  Switches& switches = ProgramSwitches();
  switches = ParseSwitches(SplitArguments(AfterProgramName(win32::ProgramCommandLine())));
  if (switches.help) {
    if (switches.mode != RunMode::kVerySilent) ShowMessageDialog(ApplicationTitle(), SwitchesHelpText(), kKindWarning);
    return kExitBadSwitches;
  }
  // The uninstaller of the program folder only starts its copy, which keeps the log.
  if (switches.uninstall && switches.uninstall->empty()) return RunUninstaller(switches);
  std::optional<InstallLog> log;
  if (switches.log) {
    log.emplace(*switches.log);
    // A log asked for and not written would leave an administrator without the
    // account the switch promised: refused like a bad switch.
    if (!log->IsOpen()) {
      if (switches.mode != RunMode::kVerySilent)
        ShowMessageDialog(ApplicationTitle(), LogNotCreatedText(*switches.log), kKindWarning);
      return kExitBadSwitches;
    }
  }
  const bool unattended = switches.mode != RunMode::kInteractive;
  RouteAccount(log ? &*log : nullptr, unattended);
  for (const std::string& argument : switches.ignored) JournalNote("argument ignored: " + argument);
  if (unattended) EnableUnattendedEndings();
  int exitCode = unattended || switches.uninstall ? kExitStepFailed : kExitInstalled;
  CallReportingFailures([&] {
    if (switches.uninstall) {
      exitCode = RunUninstaller(switches);
      return;
    }
    switch (switches.mode) {
      case RunMode::kSilent:
        exitCode = RunSilent(switches);
        break;
      case RunMode::kVerySilent:
        exitCode = RunVerySilent(switches);
        break;
      case RunMode::kInteractive: {
        TfrmDefaultInterface form;
        form.Show();
        exitCode = RunMessageLoop(form);
        break;
      }
    }
  });
  JournalNote("exit code " + std::to_string(exitCode));
  return exitCode;
}
