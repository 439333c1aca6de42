#include "core/wizard/wizard.h"

#include "core/run/installer_state.h"
#include "core/run/abort_installation.h"
#include "core/run/problem_reports.h"
#include "core/package/product_destinations.h"
#include "core/run/screen_cursor.h"
#include "core/package/settings.h"
#include "core/wizard/wizard_texts.h"
#include "dialogs/application_title.h"
#include "dialogs/message_routines.h"
#include "dialogs/uncaught_failure.h"
#include "system/system_actions.h"
#include "system/system_queries.h"
#include "system/text_helpers.h"
#include "system/utf8.h"

namespace setuvane {
namespace {

constexpr long long kBytesPerMegabyte = 1048576;
constexpr long long kLeastFreeMegabytes = 10;
constexpr size_t kShortestFolder = 5;
constexpr int kCompletionTag = 1;

const PagePanel* PanelOf(int page) {
  static const PagePanel* const panels[] = {&scrWelcome, &scrLicense, &scrReadme,
                                            &scrLocation, &scrInstall, &scrComplete};
  return page >= 1 && page <= 6 ? panels[page - 1] : nullptr;
}

// While the installation runs inside its click, messages are still processed so
// that the window repaints: the three buttons (and so Escape, which acts as the
// close button) are disabled meanwhile, and enabled again however the run ends.
class ButtonsHeld {
 public:
  explicit ButtonsHeld(WizardView& view) : view_(view) { Set(false); }
  ~ButtonsHeld() { Set(true); }
  ButtonsHeld(const ButtonsHeld&) = delete;
  ButtonsHeld& operator=(const ButtonsHeld&) = delete;

 private:
  void Set(bool enabled) {
    for (WizardButton b : {WizardButton::kPrior, WizardButton::kNext, WizardButton::kClose})
      view_.SetButtonEnabled(b, enabled);
  }
  WizardView& view_;
};

}  // namespace

long long FreeMegabytes(const std::string& folderText) {
  const long long bytes = GetDiskFreeBytes(folderText.substr(0, 2));
  return bytes / kBytesPerMegabyte;  // truncated toward zero: -1 gives 0
}

Wizard::Wizard(WizardView& view, InstallationSteps steps) : view_(view), steps_(std::move(steps)) {}

void Wizard::ShowPage() {
  if (CurrentPage) view_.HidePanel(CurrentPage->page);
  CurrentPage = nullptr;
  view_.SetButtonEnabled(WizardButton::kPrior, true);
  view_.SetButtonEnabled(WizardButton::kNext, true);
  CurrentPage = PanelOf(PageIndex);
  switch (PageIndex) {
    case 1:
      view_.SetButtonEnabled(WizardButton::kPrior, false);
      break;
    case 4:
      view_.SetFolderText(ProductLocation);
      break;
    case 5:
      payloadReady_ = !steps_.preparePayload || steps_.preparePayload();
      break;
    case 6:
      view_.SetCloseTag(kCompletionTag);
      view_.SetButtonEnabled(WizardButton::kPrior, false);
      view_.SetButtonEnabled(WizardButton::kNext, false);
      break;
  }
  if (CurrentPage) view_.ShowPanel(CurrentPage->page);
}

void Wizard::btnPriorClick() {
  // The welcome page is the first whatever the button's state (a start-up cut
  // short may leave it enabled).
  if (!view_.ButtonEnabled(WizardButton::kPrior) || PageIndex <= 1) return;
  --PageIndex;
  ShowPage();
}

void Wizard::btnNextClick() {
  if (!view_.ButtonEnabled(WizardButton::kNext)) return;
  if (CurrentPage == &scrLocation && !FolderAccepted()) return;
  for (;;) {
    ++PageIndex;
    ShowPage();
    if (CurrentPage != &scrInstall) break;
    RunInstallation();
  }
}

bool Wizard::FolderAccepted() {
  const WizardTexts& t = WizardText();
  const std::string text = view_.FolderText();
  if (CharacterCount(TrimControl(text)) < kShortestFolder) {
    ReportProblem(t.folderTooShort, t.folderTooShort.details);
    return false;
  }
  // Refused here, before anything is written, rather than by the first call that
  // would write it.
  if (!SystemHoldsName(ProgramFolderFromText(text))) {
    ReportProblem(t.folderNotHeld, t.folderNotHeld.details);
    return false;
  }
  if (FreeMegabytes(text) < kLeastFreeMegabytes) {
    ReportProblem(t.folderTooSmall, t.folderTooSmall.details);
    return false;
  }
  return true;
}

void Wizard::RunInstallation() {
  const WizardTexts& t = WizardText();
  ButtonsHeld held(view_);
  SetScreenCursor(ScreenCursor::kHourglass);
  view_.ProcessMessages();
  // A package that could not be read again has been reported: nothing is installed
  // from it, nor anything of the medium.
  if (!payloadReady_) AbortInstallation();
  // A failure that escapes a step is reported as the application's handler
  // reports it, and stops the installation as a failed step does.
  const auto run = [](const std::function<bool()>& step) {
    try {
      if (step()) return;
    } catch (const std::exception& failure) {
      ReportUncaughtFailure(failure.what());
    }
    AbortInstallation();
  };
  run(steps_.installProductFiles);
  const auto next = [&](const std::string& caption, const std::function<bool()>& step) {
    view_.ProcessMessages();
    view_.SetProgressCaption(caption);
    view_.ProcessMessages();
    run(step);
  };
  next(t.updatingSystem, steps_.installSystemComponents);
  next(t.updatingSettings, steps_.runRegistryScript);
  next(t.creatingShortcuts, steps_.runShortcutScript);
  view_.ProcessMessages();
  SetScreenCursor(ScreenCursor::kDefault);
  view_.ProcessMessages();
}

void Wizard::txtFolderChange() {
  const std::string text = view_.FolderText();
  ProductLocation = ProgramFolderFromText(text);
  try {
    view_.SetFreeSpaceCaption(FormatOne(WizardText().freeSpaceFormat, std::to_string(FreeMegabytes(text))));
  } catch (const std::exception&) {
    view_.SetFreeSpaceCaption(WizardText().freeSpaceUnknown);
  }
}

void Wizard::btnBrowseClick() {
  std::string folder;
  if (view_.BrowseForFolder(folder)) view_.SetFolderText(folder);
}

void Wizard::btnCloseClick() {
  if (!view_.ButtonEnabled(WizardButton::kClose)) return;
  if (view_.CloseTag() == kCompletionTag) {
    if (view_.RestartChosen()) {
      ShutDownWindows(kShutdownRestart);  // Windows closes the programs itself
      return;
    }
    view_.CloseWindow();
    return;
  }
  if (ShowMessageDialog(ApplicationTitle(), WizardText().stopQuestion, kKindQuestion) == kResultYes)
    view_.CloseWindow();
}

}  // namespace setuvane
