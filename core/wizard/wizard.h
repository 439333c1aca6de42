// core/wizard/: the six pages: their logic (this file), the view the logic drives
// (a window, or none), the licence and product texts, and the wizard's own texts.
// It uses core/run/ and core/package/; the uninstallation (its window is the
// install page), the installation and the program use it.
//
// The wizard: six pages shown one at a time, the three buttons that move between
// them, the folder page's check of the chosen folder and its free space, and the
// installation that runs inside the click that leaves the folder page. It drives
// the window through WizardView and the installation through its steps.
#pragma once

#include <functional>

#include "core/wizard/wizard_view.h"

namespace setuvane {

// The steps of an installation, in the order they run. Each returns false after it
// has reported why it failed; the installation then stops.
struct InstallationSteps {
  std::function<bool()> preparePayload;  // on entering the install page; false stops the installation
  std::function<bool()> installProductFiles;
  std::function<bool()> installSystemComponents;
  std::function<bool()> runRegistryScript;
  std::function<bool()> runShortcutScript;
};

// Whole megabytes free on the drive named by the first two characters of
// `folderText` (a failed query counts as 0).
long long FreeMegabytes(const std::string& folderText);

class Wizard {
 public:
  Wizard(WizardView& view, InstallationSteps steps);

  // Shows the page of PageIndex and sets the buttons for it.
  void ShowPage();

  // The handlers of the window's controls.
  void btnPriorClick();
  void btnNextClick();
  void btnCloseClick();  // also the Escape key
  void btnBrowseClick();
  void txtFolderChange();

  // The installation sequence alone, as the folder page's "Następny >" runs it.
  void RunInstallation();

 private:
  bool FolderAccepted();

  WizardView& view_;
  InstallationSteps steps_;
  bool payloadReady_ = false;  // the last entry into the install page read the package
};

}  // namespace setuvane
