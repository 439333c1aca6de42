#include "tools/plan/installation_plan.h"

#include "core/package/product_destinations.h"
#include "core/package/settings.h"
#include "core/package/package_texts.h"
#include "system/registry_script.h"
#include "system/setup_text.h"
#include "system/shell_link.h"
#include "system/shell_folders.h"
#include "system/shortcut_script.h"
#include "system/system_components.h"
#include "system/text_helpers.h"
#include "tools/plan/planning_machine.h"
#include "tools/plan/recording_link_writer.h"

namespace setuvane::pack {
namespace {

// The installer's steps run against the planning machine, the recording registry
// and the recording shortcut writer, each installed for the run's lifetime.
class DryRun {
 public:
  DryRun(const PackageContent& package, const PlanOptions& options)
      : package_(package), options_(options), machine_(options.layout, options.medium, package.setupFiles) {}

  InstallationPlan Make() {
    if (ReadProgramFolder()) {
      PlanFiles();
      TShellLink shlLinker;  // one for the whole script, as on the wizard
      Run(PlanStep::kComponents, [&] { PlanComponents(); }) &&
          Run(PlanStep::kRegistry, [&] { RunRegistryScript(GetTempFolder(), plan_.programFolder, Reporter(PlanStep::kRegistry)); }) &&
          Run(PlanStep::kShortcuts, [&] {
            RunShortcutScript(shlLinker, GetTempFolder(), plan_.programFolder, Reporter(PlanStep::kShortcuts));
          });
    }
    plan_.registry = registry_.Writes();
    plan_.shortcuts = links_.Links();
    return std::move(plan_);
  }

 private:
  // The program folder as start-up and the folder page leave it: the package's
  // PRODUCT_LOCATION (or the default) with its macros expanded, or the folder
  // given. Without install.inf the installer ends at start-up, after its report.
  bool ReadProgramFolder() {
    SetDefaultSettings();
    const std::string settings = GetTempFolder() + "install.inf";
    try {
      for (const std::string& line : ReadSetupTextFile(settings)) ApplySettingsLine(line);
    } catch (const std::exception& failure) {
      const ReportTexts& t = PackageText().settingsUnreadable;
      Stop(PlanStep::kSettings, {t.title, t.message, FormatOne(t.hint, settings), failure.what()});
      return false;
    }
    plan_.programFolder = ProgramFolderFromText(options_.programFolder ? *options_.programFolder : ProductLocation);
    if (ProductUninstall) plan_.uninstallEntry = UninstallEntryFor(plan_.programFolder, 0, "");
    return true;
  }

  void PlanFiles() {
    for (const PackageContent::Entry& entry : package_.entries) {
      if (TrimControl(entry.destination).empty()) continue;
      PlannedFile file;
      file.storedName = entry.storedName;
      file.folder = ProductFolderOf(entry.destination, plan_.programFolder);
      if (!file.folder.empty()) {
        file.path = ProductFilePath(file.folder, entry.storedName);
        file.asksBeforeReplacing = HoldsUserData(file.path);
      }
      plan_.files.push_back(std::move(file));
    }
  }

  // A status text is shown right before the command line it belongs to starts;
  // a row without one leaves the text of the row before.
  void PlanComponents() {
    std::map<size_t, std::string> statusBefore;
    // A single file runs the components it carries from its setup folder.
    InstallSystemComponents(
        package_.singleFile ? GetTempFolder() : GetLaunchFolder(), [&](const std::string& text) { statusBefore[machine_.CommandLines().size()] = text; },
        [] {});
    for (size_t i = 0; i < machine_.CommandLines().size(); ++i) {
      plan_.components.push_back({statusBefore.count(i) ? statusBefore[i] : std::string(), machine_.CommandLines()[i]});
    }
  }

  size_t ItemsSoFar(PlanStep step) const {
    switch (step) {
      case PlanStep::kComponents: return machine_.CommandLines().size();
      case PlanStep::kRegistry: return registry_.Writes().size();
      case PlanStep::kShortcuts: return links_.Links().size();
      default: return 0;
    }
  }

  ProblemReporter Reporter(PlanStep step) {
    return [this, step](const Problem& problem) { plan_.problems.push_back({step, problem, false, ItemsSoFar(step)}); };
  }

  void Stop(PlanStep step, const Problem& problem) {
    plan_.problems.push_back({step, problem, true, ItemsSoFar(step)});
    plan_.stoppedAt = step;
  }

  // A step that throws ends the installation: the failure is reported and the
  // remaining steps do not run.
  bool Run(PlanStep step, const std::function<void()>& body) {
    try {
      body();
      return true;
    } catch (const std::exception& failure) {
      Stop(step, {"", failure.what(), "", ""});
      return false;
    }
  }

  const PackageContent& package_;
  const PlanOptions& options_;
  PlanningMachine machine_;
  RecordingRegistry registry_;
  RecordingLinkWriter links_;
  ScopedMachine scopedMachine_{machine_};
  ScopedRegistry scopedRegistry_{registry_};
  ScopedShellLinkWriter scopedLinks_{links_};
  InstallationPlan plan_;
};

}  // namespace

InstallationPlan MakePlan(const PackageContent& package, const PlanOptions& options) {
  return DryRun(package, options).Make();
}

}  // namespace setuvane::pack
