#include "core/program/unattended_win32.h"

#include <windows.h>

#include "archive/file_system.h"
#include "core/program/default_interface_win32.h"
#include "core/program/environment_check.h"
#include "core/run/exit_codes.h"
#include "core/installation/installation.h"
#include "core/run/installer_state.h"
#include "core/package/settings.h"
#include "core/program/startup.h"
#include "core/installation/unattended.h"
#include "core/wizard/windowless_view.h"
#include "dialogs/application_title.h"

namespace setuvane {
namespace {

// Without a window the mouse and the colour depth do not matter; safe mode still
// refuses.
class SafeModeOnly : public EnvironmentQueries {
 public:
  int CleanBoot() const override { return GetSystemMetrics(SM_CLEANBOOT); }
  int MousePresent() const override { return 1; }
  int BitsPerPixel() const override { return 32; }
};

}  // namespace

int RunSilent(const Switches& switches) {
  // The window's start-up runs the checks and opens the package as always.
  TfrmDefaultInterface form;
  const int code = RunUnattended({
      .wizard = form.wizard(),
      .view = form.View(),
      .switches = switches,
      .packageOpened = form.installation().PackageOpened(),
      .componentsRan = [&form] { return form.installation().ComponentsRan(); },
      .beforeInstalling =
          [&form] {
            // No wizard page is seen: the folder page goes before the window shows.
            form.View().HidePanel(scrLocation.page);
            form.Show();
            form.WaitUntilDrawn();
          },
      .filesAtRestart = [&form] { return form.installation().FilesReplacedAtRestart(); },
  });
  return code;
}

int RunVerySilent(const Switches& switches) {
  InitialiseInstallerState();
  EnteringStage(kExitEnvironmentRefused);
  if (!CheckEnvironment(SafeModeOnly())) return kExitEnvironmentRefused;
  EnteringStage(kExitPackageUnreadable);
  WindowlessView view;
  Installation installation(view, archive::NativeFileSystem());
  installation.OpenInstallPackage();
  SetApplicationTitle(InstallTaskTitle);
  Wizard wizard(view, installation.Steps());
  view.onFolderChange = [&wizard] { wizard.txtFolderChange(); };
  return RunUnattended({
      .wizard = wizard,
      .view = view,
      .switches = switches,
      .packageOpened = installation.PackageOpened(),
      .componentsRan = [&installation] { return installation.ComponentsRan(); },
      .beforeInstalling = nullptr,
      .filesAtRestart = [&installation] { return installation.FilesReplacedAtRestart(); },
  });
}

}  // namespace setuvane
