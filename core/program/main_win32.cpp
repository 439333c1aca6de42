// Program entry of the installer, called by the starter (core/program/program_entry.h).
// Without arguments it is the interactive wizard; the switches of core/run/switches.h
// run it unattended.
#include <windows.h>

#include <objbase.h>

#include <optional>

#include "archive/file_system.h"
#include "core/program/default_interface_win32.h"
#include "core/program/dll_search_win32.h"
#include "core/run/exit_codes.h"
#include "core/run/setup_folder.h"
#include "core/program/install_log.h"
#include "core/program/program_entry.h"
#include "core/run/switches.h"
#include "core/program/unattended_win32.h"
#include "core/uninstallation/uninstaller_win32.h"
#include "dialogs/application_title.h"
#include "dialogs/message_routines.h"
#include "dialogs/uncaught_failure.h"
#include "system/install_journal.h"
#include "system/machine.h"
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

extern "C" __declspec(dllexport) int __cdecl SetuvaneRun(const setuvane::ProgramStart*) {
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
  // The uninstaller of the program folder only starts its copy, which keeps the log:
  // the caller's log, named from the caller's folder, which the copy's is not. Where
  // no copy starts, this one writes the log.
  if (switches.uninstall && switches.uninstall->empty()) {
    if (switches.log) switches.log = AbsoluteLogPath(*switches.log, CurrentMachine().CurrentDirectory().value_or(""));
    if (const std::optional<int> code = RunUninstallerCopy(switches)) return *code;
    if (switches.log) {
      InstallLog log(*switches.log);
      log.Write("uninstaller not started: its temporary copy cannot be made or started");
      log.Write("exit code " + std::to_string(kExitStepFailed));
    }
    return kExitStepFailed;
  }
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
  for (const std::string& argument : switches.harmless) JournalNote("switch accepted, nothing to do: " + argument);
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
  RemoveOwnSetupFolder(archive::NativeFileSystem());
  JournalNote("exit code " + std::to_string(exitCode));
  return exitCode;
}
