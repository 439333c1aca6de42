#include "core/uninstallation/uninstallation.h"

#include "core/run/exit_codes.h"
#include "core/run/problem_reports.h"
#include "core/uninstallation/product_lock.h"
#include "core/uninstallation/removal.h"
#include "core/uninstallation/uninstall_files.h"
#include "core/uninstallation/uninstall_record.h"
#include "core/uninstallation/uninstall_texts.h"
#include "dialogs/application_title.h"
#include "dialogs/message_routines.h"
#include "system/install_journal.h"

namespace setuvane {

int RunUninstallation(const UninstallRun& run) {
  const UninstallTexts& t = UninstallText();
  const std::optional<std::string> text = CurrentUninstallFiles().ReadWhole(run.recordPath);
  const ParsedUninstallRecord record =
      text ? ParseUninstallRecord(*text) : ParsedUninstallRecord{{}, "the record cannot be read"};
  if (!record.Verified()) {
    const ReportTexts& r = t.recordUnreadable;
    ReportProblem(r.title, r.message, FormatOne(r.hint, run.recordPath), record.problem);
    JournalNote("uninstall record rejected: " + run.recordPath + ": " + record.problem);
    return kExitStepFailed;
  }
  std::string title, entryKey;
  for (const UninstallItem& item : record.items) {
    if (item.kind != UninstallItemKind::kProduct) continue;
    title = item.root;
    entryKey = item.path;
  }
  if (!HoldProductLock(entryKey)) return kExitAnotherRunning;
  if (!title.empty()) SetApplicationTitle(title);
  JournalNote("uninstall record: " + run.recordPath + (record.Complete() ? "" : " (the installation did not finish)"));
  if (run.ask && ShowMessageDialog(ApplicationTitle(), FormatOne(t.questionFormat, title), kKindQuestion) != kResultYes) {
    JournalNote("the user kept the product");
    return kExitUninstallDeclined;
  }
  // A product installed more than once lists some things twice: each is undone
  // once, a file by its latest check value, a value back to what it held first.
  return RemoveInstallation(run, MergeUninstallItems(record.items, {}));
}

}  // namespace setuvane
