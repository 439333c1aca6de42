#include "system/shell_link.h"

#include "system/install_journal.h"
#include "system/uninstall_items.h"

namespace setuvane {

void TShellLink::Write() {
  if (link_.workingFolder.empty()) {
    const size_t last = link_.programFile.find_last_of("\\:");
    if (last != std::string::npos) link_.workingFolder = link_.programFile.substr(0, last + 1);
  }
  RecordUninstallItem(PathItem(UninstallItemKind::kShortcut, link_.linkFile));
  CurrentShellLinkWriter().Write(link_);
  JournalNote("shortcut: " + link_.linkFile + " -> " + link_.programFile);
}

}  // namespace setuvane
