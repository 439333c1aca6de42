// What an installation of a package would do, step by step, found by a dry run of
// the installer's own steps (the settings reader, the product destinations, the
// component table, the registry and shortcut scripts) against a planning machine,
// a recording registry and a recording shortcut writer. Texts are UTF-8.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/uninstallation/uninstall_setup.h"
#include "system/problem_report.h"
#include "system/shell_link_writer.h"
#include "tools/plan/recording_registry.h"
#include "tools/plan/standard_layout.h"

namespace setuvane::pack {

// The package as the plan needs it.
struct PackageContent {
  struct Entry {
    std::string storedName;
    std::string destination;  // the destination text as stored; empty for a setup file
  };
  std::vector<Entry> entries;                      // in archive order
  std::map<std::string, std::string> setupFiles;  // bytes by bare name, as unpacked (components by path)
  bool singleFile = false;                        // carried by a setup.exe: its components are inside
  bool carriedWhole = true;                       // a carried package's size and checksum are right
};

struct PlanOptions {
  StandardLayout layout;
  std::string medium;  // the real folder of the medium
  // The folder the user would choose; without one the package's own.
  std::optional<std::string> programFolder;
};

struct PlannedFile {
  std::string storedName;
  std::string folder;  // resolved; empty when it resolves to nothing (then not installed)
  std::string path;    // the file written
  bool asksBeforeReplacing = false;  // an existing file of this name raises the question
};

struct PlannedComponent {
  std::string status;  // the text on the install page; empty: the one before stays
  std::string commandLine;
};

enum class PlanStep { kSettings, kFiles, kComponents, kRegistry, kShortcuts };

struct PlanProblem {
  PlanStep step;
  Problem report;      // as the installer would show it
  bool stops = false;  // the installation would end here (report.message says why)
  size_t after = 0;    // how many of the step's items come before it
};

struct InstallationPlan {
  std::string programFolder;
  std::vector<PlannedFile> files;
  std::vector<PlannedComponent> components;
  std::vector<RegistryWrite> registry;
  std::vector<ShellLinkProperties> shortcuts;
  // The entry among the installed programs (none when the package turns
  // uninstallation off); its size and date are the installation's own.
  std::optional<UninstallEntry> uninstallEntry;
  std::vector<PlanProblem> problems;
  // The step whose failure would end the installation; the later ones do not run.
  std::optional<PlanStep> stoppedAt;
};

InstallationPlan MakePlan(const PackageContent& package, const PlanOptions& options);

}  // namespace setuvane::pack
