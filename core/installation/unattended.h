// An installation without a person at the screen: the same wizard and installation
// sequence, driven from the folder page on. The folder (the package's, or the one
// of /DIR) passes the folder page's checks, the steps run with every question
// answered "Nie" and every report written to the log, and the exit code says how
// it ended.
#pragma once

#include <functional>

#include "core/run/switches.h"
#include "core/wizard/wizard.h"

namespace setuvane {

struct UnattendedRun {
  Wizard& wizard;
  WizardView& view;
  const Switches& switches;
  bool packageOpened;                   // the setup files were unpacked
  std::function<bool()> componentsRan;  // a system component installer was started
  std::function<void()> beforeInstalling;  // e.g. shows the window on its install page
  std::function<bool()> filesAtRestart;    // a file in use is replaced at the next restart
};

// Runs the installation and returns the exit code (see core/run/exit_codes.h).
int RunUnattended(const UnattendedRun& run);

}  // namespace setuvane
