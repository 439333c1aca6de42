#include "system/system_components.h"

#include <array>
#include <optional>
#include <vector>

#include "system/install_journal.h"
#include "system/system_actions.h"
#include "system/system_queries.h"
#include "system/text_helpers.h"

namespace setuvane {
namespace {

constexpr int kHidden = 0;  // SW_HIDE

struct ComponentRow {
  const char* probe;    // its presence decides, relative to the launch folder
  const char* program;  // what runs, relative to the launch folder
  const char* arguments;
  const char* status;   // UTF-8; nullptr keeps the label's text
  bool onlyOnVersion40;
  bool repaintAfter;
};

// In this order. The first row probes setup.exe but runs install.exe.
constexpr std::array<ComponentRow, 7> kComponents = {{
    {"supdcom\\setup.exe", "supdcom\\install.exe", "/q", "Instalowanie uaktualnień środowiska...", true, false},
    {"supaxdo\\setup.exe", "supaxdo\\setup.exe", "/QT", "Instalowanie systemu bazodanowego...", false, false},
    {"supajet\\setup.exe", "supajet\\setup.exe", "/Q", "Instalowanie systemu bazodanowego...", false, false},
    {"supagnt\\agent.exe", "supagnt\\agent.exe", "/Q:A", "Instalowanie czarodzieja systemowego...", false, true},
    {"supagnt\\merlin.exe", "supagnt\\merlin.exe", "/Q:A", nullptr, false, true},
    {"suphelp\\setup.exe", "suphelp\\setup.exe", "/Q:A", "Instalowanie systemu informacyjnego...", false, false},
    {"supfont\\setup.exe", "supfont\\setup.exe", "/Q:A", "Instalowanie czcionek systemowych...", false, false},
}};

constexpr std::array<const char*, 6> kComponentFolders = {"supdcom", "supaxdo", "supajet",
                                                          "supagnt", "suphelp", "supfont"};

}  // namespace

bool IsComponentFolder(std::string_view name) {
  for (const char* folder : kComponentFolders) {
    if (AsciiLower(name) == folder) return true;
  }
  return false;
}

bool IsComponentEntry(std::string_view storedName) {
  const size_t slash = storedName.find_first_of("/\\");
  return slash != std::string_view::npos && IsComponentFolder(storedName.substr(0, slash));
}

std::vector<ComponentRun> SystemComponentsToRun(const std::string& launchFolder) {
  const bool version40 = GetWindowsVersion().compare(0, 3, "4.0") == 0;
  std::vector<ComponentRun> runs;
  for (const ComponentRow& row : kComponents) {
    if (row.onlyOnVersion40 && !version40) continue;
    if (!FileExists(launchFolder + row.probe)) continue;
    // The program's path is quoted: a medium in a folder with blanks would
    // otherwise start whatever program its unquoted prefix names.
    runs.push_back({row.status ? std::string(row.status) : std::string(),
                    "\"" + launchFolder + row.program + "\" " + row.arguments, row.repaintAfter});
  }
  return runs;
}

bool InstallSystemComponents(const std::string& launchFolder,
                             const std::function<void(const std::string& statusText)>& showStatus,
                             const std::function<void()>& processMessages) {
  return RunSystemComponents(SystemComponentsToRun(launchFolder), showStatus, processMessages);
}

bool RunSystemComponents(const std::vector<ComponentRun>& runs,
                         const std::function<void(const std::string& statusText)>& showStatus,
                         const std::function<void()>& processMessages) {
  for (const ComponentRun& run : runs) {
    if (!run.status.empty()) {
      showStatus(run.status);
      processMessages();
    }
    const std::uint32_t exitCode = RunAndWait(run.commandLine, kHidden);
    JournalNote("component: " + run.commandLine + " (exit code " + std::to_string(exitCode) + ")");
    if (run.repaintAfter) processMessages();
  }
  return true;
}

}  // namespace setuvane
