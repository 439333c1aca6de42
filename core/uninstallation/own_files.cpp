#include "core/uninstallation/own_files.h"

#include <optional>

#include "core/uninstallation/uninstall_record.h"
#include "system/install_journal.h"

namespace setuvane {

bool RemoveRecordAndUninstaller(UninstallFiles& files, const std::string& recordPath) {
  files.RemoveFile(recordPath);
  files.RemoveFile(recordPath + std::string(kPendingRecordSuffix));
  const std::string uninstaller = recordPath.substr(0, recordPath.size() - 4) + ".exe";
  if (!files.FileExists(uninstaller)) return false;
  if (files.RemoveFile(uninstaller) != FileRemoval::kInUse) return false;
  if (std::optional<std::string> parked = files.NewTemporaryFile()) {
    files.RemoveFile(*parked);
    if (files.MoveFileTo(uninstaller, *parked)) {
      files.RemoveAtRestart(*parked);
      return false;
    }
  }
  // Windows 9x moves no running program: it goes at restart, and its folder
  // stays (WININIT.INI removes no folder).
  if (!files.RemoveAtRestart(uninstaller)) return false;
  JournalNote("in use, removed at the next restart: " + uninstaller);
  return true;
}

}  // namespace setuvane
