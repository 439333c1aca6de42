#include "core/uninstallation/stopped_run.h"

#include "core/run/problem_reports.h"
#include "core/uninstallation/product_entry.h"
#include "core/uninstallation/record_authentication.h"
#include "core/uninstallation/uninstall_texts.h"
#include "dialogs/application_title.h"
#include "dialogs/message_routines.h"
#include "system/install_journal.h"

namespace setuvane {

StoppedRun FinishStoppedRun(const RecordedRun& run, bool ask) {
  const std::optional<RunState> state = LastRun(run.items);
  if (!state) return StoppedRun::kNone;
  if (state->ended) {
    CompleteRun(run);
    return StoppedRun::kFinished;
  }
  std::string title;
  for (const UninstallItem& item : run.items)
    if (item.kind == UninstallItemKind::kProduct) title = item.root;
  const UninstallTexts& t = UninstallText();
  if (ask && ShowMessageDialog(ApplicationTitle(), FormatOne(t.stoppedRunQuestionFormat, title), kKindQuestion) !=
                 kResultYes) {
    JournalNote("the installation that did not finish stays as it is: the user said no");
    return StoppedRun::kDeclined;
  }
  if (RollBackRun(run)) return StoppedRun::kFinished;
  ReportProblem(t.runNotUndone.title, t.runNotUndone.message, FormatOne(t.runNotUndone.hint, Quoted(title)),
                t.runNotUndone.details);
  return StoppedRun::kFailed;
}

StoppedRun FinishProductsStoppedRun(const std::string& productKey, bool ask) {
  const std::optional<std::string> key = OwnEntryKey(productKey);
  const std::optional<ExistingEntry> entry = key ? ReadExistingEntry(*key) : std::nullopt;
  if (!entry || !entry->ours) return StoppedRun::kNone;
  const std::string path = RecordPathOfUninstaller(entry->uninstaller);
  AuthenticRecord record = ReadAuthenticRecord(path);
  if (!record.Accepted()) return StoppedRun::kNone;
  return FinishStoppedRun({path, *key, std::move(record.items)}, ask);
}

}  // namespace setuvane
