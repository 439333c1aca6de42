#include "core/installation/kept_at_restart.h"

#include <set>

#include "core/package/product_destinations.h"
#include "core/uninstallation/uninstall_files.h"
#include "core/uninstallation/uninstall_setup.h"
#include "system/cp1250.h"
#include "system/install_journal.h"
#include "system/text_helpers.h"

namespace setuvane {

std::vector<std::string> ProductTargets(const archive::TAbUnZipper& package) {
  std::vector<std::string> files;
  for (int i = 0; i < package.EntryCount(); ++i) {
    const archive::TAbZipItem& entry = *package.Entries(i);
    const std::string folder = TrimControl(entry.ExtraText());
    if (!folder.empty()) files.push_back(ProductFilePath(folder, Cp1250ToUtf8(entry.StoredName())));
  }
  return files;
}

std::vector<std::string> PathsInstalled(const archive::TAbUnZipper& package, const std::string& programFolder,
                                        bool uninstaller) {
  std::vector<std::string> files = ProductTargets(package);
  if (uninstaller) {
    files.push_back(AddBackslash(programFolder) + kUninstallerName);
    files.push_back(AddBackslash(programFolder) + kUninstallRecordName);
  }
  std::set<std::string> paths(files.begin(), files.end());
  // Each folder of the way, up to the one below the drive ("C:\" or "\\server\share\").
  for (const std::string& file : files) {
    const size_t root = file.rfind("\\\\", 0) == 0 ? file.find('\\', file.find('\\', 2) + 1) : file.find('\\');
    for (size_t end = file.rfind('\\'); end != std::string::npos && root != std::string::npos && end > root;
         end = file.rfind('\\', end - 1))
      paths.insert(file.substr(0, end));
  }
  return std::vector<std::string>(paths.begin(), paths.end());
}

void KeepAtRestart(const std::vector<std::string>& paths) {
  for (const std::string& path : CurrentUninstallFiles().KeepAtRestart(paths))
    JournalNote("no longer removed or replaced at the next restart: " + path);
}

}  // namespace setuvane
