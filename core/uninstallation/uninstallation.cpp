#include "core/uninstallation/uninstallation.h"

#include "core/run/exit_codes.h"
#include "core/run/problem_reports.h"
#include "core/uninstallation/product_lock.h"
#include "core/uninstallation/record_authentication.h"
#include "core/uninstallation/removal.h"
#include "core/uninstallation/stopped_run.h"
#include "core/uninstallation/uninstall_files.h"
#include "core/uninstallation/uninstall_record.h"
#include "core/uninstallation/uninstall_texts.h"
#include "dialogs/application_title.h"
#include "dialogs/message_routines.h"
#include "system/install_journal.h"

namespace setuvane {

int RunUninstallation(const UninstallRun& run) {
  const UninstallTexts& t = UninstallText();
  // Nothing is removed on the strength of a record that its entry does not vouch for.
  AuthenticRecord record = ReadAuthenticRecord(run.recordPath);
  if (!record.Accepted()) {
    const ReportTexts& r = record.changed ? t.recordChanged : t.recordUnreadable;
    ReportProblem(r.title, r.message, FormatOne(r.hint, run.recordPath), record.problem);
    JournalNote("uninstall record rejected: " + run.recordPath + ": " + record.problem);
    return kExitStepFailed;
  }
  for (const std::string& line : record.distrusted) JournalNote(line);
  std::string title, entryKey;
  for (const UninstallItem& item : record.items) {
    if (item.kind != UninstallItemKind::kProduct) continue;
    title = item.root;
    entryKey = item.path;
  }
  if (const std::optional<UnattendedExitCode> refused = TakeProductLock(entryKey)) return *refused;
  if (!title.empty()) SetApplicationTitle(title);
  // An installation that a stop cut short is finished first; undone, a first
  // installation leaves nothing more to remove.
  switch (FinishStoppedRun({run.recordPath, record.entryKey, record.items}, run.ask)) {
    case StoppedRun::kDeclined: return kExitUninstallDeclined;
    case StoppedRun::kFailed: return kExitStepFailed;
    case StoppedRun::kFinished:
      record = ReadAuthenticRecord(run.recordPath);
      if (!record.Accepted()) {
        JournalNote("nothing is left to remove: " + run.recordPath);
        if (run.ask) ShowMessageDialog(ApplicationTitle(), FormatOne(t.removedFormat, title), kKindWarning);
        return kExitInstalled;
      }
      for (const UninstallItem& item : record.items)
        if (item.kind == UninstallItemKind::kProduct) title = item.root;
      break;
    case StoppedRun::kNone: break;
  }
  const bool complete = !record.items.empty() && record.items.back().kind == UninstallItemKind::kEnd;
  JournalNote("uninstall record: " + run.recordPath + (complete ? "" : " (the installation did not finish)"));
  if (run.ask && ShowMessageDialog(ApplicationTitle(), FormatOne(t.questionFormat, title), kKindQuestion) != kResultYes) {
    JournalNote("the user kept the product");
    return kExitUninstallDeclined;
  }
  // A product installed more than once lists some things twice: each is undone
  // once, a file by its latest check value, a value back to what it held first.
  return RemoveInstallation(run, MergeUninstallItems(record.items, {}));
}

}  // namespace setuvane
