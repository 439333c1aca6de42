#include "system/shell_link.h"

#include "system/install_journal.h"
#include "system/machine.h"
#include "system/sha256.h"
#include "system/uninstall_items.h"

namespace setuvane {

void TShellLink::Write() {
  if (link_.workingFolder.empty()) {
    const size_t last = link_.programFile.find_last_of("\\:");
    if (last != std::string::npos) link_.workingFolder = link_.programFile.substr(0, last + 1);
  }
  if (!RecordUninstallItem(PathItem(UninstallItemKind::kShortcut, link_.linkFile))) return;
  CurrentShellLinkWriter().Write(link_);
  JournalNote("shortcut: " + link_.linkFile + " -> " + link_.programFile);
  // The shortcut as written, by which its removal knows it as this one wherever a
  // junction or symbolic link takes its folder (a relocated desktop, say).
  std::uint32_t error = 0;
  if (UninstallRecording())
    if (const std::optional<std::string> bytes = CurrentMachine().ReadWholeFile(link_.linkFile, error))
      RecordUninstallItem(ShortcutSumItem(link_.linkFile, bytes->size(), Sha256Hex(*bytes)));
}

}  // namespace setuvane
