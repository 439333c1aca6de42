#include "tools/build/package_checks.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "archive/target_path.h"
#include "core/uninstallation/uninstall_setup.h"
#include "system/cp1250.h"
#include "tools/build/folder_macro_check.h"
#include "tools/build/registry_script_check.h"
#include "tools/build/script_names.h"
#include "tools/build/settings_file_check.h"
#include "tools/build/shortcut_script_check.h"
#include "tools/build/setup_text.h"

namespace setuvane::pack {
namespace {

std::string BareName(const std::string& storedName) { return storedName.substr(storedName.rfind('/') + 1); }

// Archive text in a problem's message.
std::string Shown(const std::string& archiveText) { return Cp1250ToUtf8(archiveText); }

std::string Where(int line) { return "(line " + std::to_string(line) + ")"; }

void ReadSetupTexts(std::vector<PackageFile>& files, bool fromUtf8, Problems& problems) {
  for (PackageFile& file : files) {
    if (!file.IsSetup() || file.IsComponent() || !IsSetupText(file.storedName)) continue;
    const std::string shown = PathText(file.source.lexically_normal());
    std::ifstream in(file.source, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) {
      problems.Error(shown, 0, "cannot be read");
      continue;
    }
    file.content = PrepareSetupText(bytes.str(), file.storedName, fromUtf8, shown, problems);
    file.size = file.content->size();
    if (SameName(file.storedName, kSettingsFile)) CheckSettingsFile(*file.content, shown, problems);
    if (SameName(file.storedName, kRegistryScript)) CheckRegistryScript(*file.content, shown, problems);
    if (SameName(file.storedName, kShortcutScript)) CheckShortcutScript(*file.content, shown, problems);
  }
}

void CheckRequiredFiles(const std::vector<PackageFile>& files, const std::string& manifest, Problems& problems) {
  const auto has = [&](std::string_view name) {
    for (const PackageFile& file : files) {
      if (file.IsSetup() && !file.IsComponent() && SameName(file.storedName, name)) return true;
    }
    return false;
  };
  for (const std::string_view name : {kSettingsFile, kRegistryScript, kShortcutScript}) {
    if (!has(name)) {
      problems.Error(manifest, 0, "no setup file " + std::string(name) +
                                      ": the installer reads it (an empty file will do)");
    }
  }
  for (const std::string_view name : {kLicenceText, kProductText}) {
    if (!has(name)) problems.Warning(manifest, 0, "no setup file " + std::string(name) + ": the installer reports it missing");
  }
}

// A destination must resolve to a full folder on the user's machine: every token
// in angle brackets known, and a macro or a drive at its start.
void CheckDestinations(const std::vector<PackageFile>& files, const std::string& manifest, Problems& problems) {
  std::map<int, bool> reported;  // one report per heading
  for (const PackageFile& file : files) {
    if (file.IsSetup() || reported[file.destinationLine]) continue;
    reported[file.destinationLine] = true;
    const std::vector<std::string> unknown = UnknownMacros(file.destination, true);
    if (!unknown.empty()) {
      problems.Error(manifest, file.destinationLine,
                     "unknown folder macro " + Shown(QuotedList(unknown)) + " in the destination");
    }
    const std::string& d = file.destination;
    const bool anchored = d.front() == '<' || (d.size() >= 2 && d[1] == ':') || d.substr(0, 2) == "\\\\";
    if (!anchored) {
      problems.Warning(manifest, file.destinationLine, "the destination '" + Shown(d) +
                                                "' starts with no folder macro and no drive; the installer takes it "
                                                "relative to the installation medium");
    }
  }
}

// Letters as the file system compares them: Windows-1250 capitals.
std::string FoldedPath(const std::string& folder, const std::string& name) {
  std::string path;
  for (const char c : folder + "\\" + name) {
    if (c == '\\' && !path.empty() && path.back() == '\\') continue;
    path += Cp1250Upper(c);
  }
  return path;
}

// Every part of a stored name becomes a file or folder name on Windows: the file
// name, and the subfolders of its destination (they are the stored folders). The
// installer refuses an entry whose name Windows cannot hold; the first such part is
// reported.
void CheckWindowsNames(const PackageFile& file, const std::string& manifest, Problems& problems) {
  size_t start = 0;
  for (;;) {
    const size_t end = file.storedName.find('/', start);
    const std::string part = file.storedName.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string where = "'" + Shown(file.storedName) + "': '" + Shown(part) + "'";
    switch (archive::WindowsNameFault(part)) {
      case archive::NameFault::kNone:
        break;
      case archive::NameFault::kCharacter:
        problems.Error(manifest, file.line, where + " has a character that Windows file names cannot hold");
        return;
      case archive::NameFault::kDeviceName:
        problems.Error(manifest, file.line, where + " is a device name on Windows (CON, PRN, AUX, NUL, COM1 to COM9, "
                                                    "LPT1 to LPT9), also with an extension");
        return;
      case archive::NameFault::kFinalDotOrBlank:
        problems.Error(manifest, file.line, where + " ends in a dot or a blank, which Windows drops from names");
        return;
    }
    if (end == std::string::npos) return;
    start = end + 1;
  }
}

// Setup files are unpacked flat into one folder, product files into their
// destinations: two entries that land at the same path overwrite each other. The
// installer takes each product entry by its place in the archive, so a stored name
// that is there twice harms only tools that pick entries by name.
void CheckNames(const std::vector<PackageFile>& files, const std::string& manifest, Problems& problems) {
  std::map<std::string, const PackageFile*> setupNames, storedNames, landings;
  for (const PackageFile& file : files) {
    const std::string bare = BareName(file.storedName);
    CheckWindowsNames(file, manifest, problems);
    if (file.IsSetup()) {
      const auto [it, added] = setupNames.emplace(FoldedPath("", file.IsComponent() ? file.storedName : bare), &file);
      if (!added) {
        problems.Error(manifest, file.line, "setup file '" + Shown(bare) + "' is unpacked over the one of " +
                                                Where(it->second->line));
      }
      continue;
    }
    const std::string landingPath = FoldedPath(file.destination, bare);
    for (const char* name : {kUninstallerName, kUninstallRecordName}) {
      if (landingPath == FoldedPath("<programfolder>", name)) {
        problems.Error(manifest, file.line, "'" + Shown(file.storedName) + "' would install over the uninstaller's " +
                                                name + " in <programfolder>");
      }
    }
    const auto [landing, newPath] = landings.emplace(landingPath, &file);
    if (!newPath) {
      problems.Error(manifest, file.line, "'" + Shown(file.storedName) + "' installs to the same path as '" +
                                              Shown(landing->second->storedName) + "' " +
                                              Where(landing->second->line) + ": " +
                                              Shown(JoinDestination(file.destination, bare)));
      continue;
    }
    const auto [stored, newName] = storedNames.emplace(FoldedPath("", file.storedName), &file);
    if (!newName) {
      problems.Warning(manifest, file.line, "'" + Shown(file.storedName) + "' is in the package already " +
                                                Where(stored->second->line) +
                                                "; tools that extract by name take only one of them");
    }
  }
}

}  // namespace

void CheckPackage(std::vector<PackageFile>& files, const std::string& manifest, bool fromUtf8, Problems& problems) {
  ReadSetupTexts(files, fromUtf8, problems);
  CheckRequiredFiles(files, manifest, problems);
  CheckDestinations(files, manifest, problems);
  CheckNames(files, manifest, problems);
}

}  // namespace setuvane::pack
