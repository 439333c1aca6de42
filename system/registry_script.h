// The registry script registry.inf: the product's keys and values, written line
// by line during the installation (the line format is in system/registry_lines.h).
#pragma once

#include <string>

#include "system/problem_report.h"

namespace setuvane {

// Reads `setupFolder` + "registry.inf" and carries it out through the current
// registry (system/registry.h). Values pass through ExpandFolderMacros and then
// SubstituteProgramFolder with `programFolder` (the chosen folder, ending in "\").
// A key that does not open or a value that cannot be written is handed to
// `report` and the script goes on with the next line; the result is always true.
// A script that cannot be read throws ESetupFileError.
bool RunRegistryScript(const std::string& setupFolder, const std::string& programFolder, const ProblemReporter& report);

}  // namespace setuvane
