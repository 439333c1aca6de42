// The silent installers of shared system components that the installation medium
// may carry in its component folders ("supdcom", "supaxdo", "supajet", "supagnt",
// "suphelp", "supfont"), run one after the other after the product files.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace setuvane {

// True for the name of a component folder ("supaxdo" and the others), in any
// letter case. A single file carries its components as setup entries below such a
// folder name.
bool IsComponentFolder(std::string_view name);
// True for a stored name below a component folder ("supaxdo/setup.exe"; "/" or "\\").
bool IsComponentEntry(std::string_view storedName);

// A component installer that the medium would have run, in the table's order.
struct ComponentRun {
  std::string status;       // empty: the label keeps its text
  std::string commandLine;  // the program's quoted path and the table's arguments
  bool repaintAfter;        // the agent rows let the window repaint afterwards
};

// The rows whose probe file is on the medium below `launchFolder` (the first row
// only on a version text beginning with "4.0").
std::vector<ComponentRun> SystemComponentsToRun(const std::string& launchFolder);

// Runs, in the table's order, each component whose probe file exists below
// `launchFolder` (the medium's folder, ending in "\"); the first row only on a
// version text beginning with "4.0". Each runs hidden and is waited for; its exit
// code is not examined. `showStatus` puts a row's status text on
// the install page, and `processMessages` lets the window repaint after it and
// after the agent rows. Always true.
bool InstallSystemComponents(const std::string& launchFolder,
                             const std::function<void(const std::string& statusText)>& showStatus,
                             const std::function<void()>& processMessages);

// The same for rows already found (by SystemComponentsToRun), so that a caller
// that wants to know what ran does not probe the medium twice.
bool RunSystemComponents(const std::vector<ComponentRun>& runs,
                         const std::function<void(const std::string& statusText)>& showStatus,
                         const std::function<void()>& processMessages);

}  // namespace setuvane
