#include "core/wizard/wizard_view_win32.h"

#include "dialogs/controls_win32.h"

namespace setuvane {
namespace {

// About thirty repaints a second: smooth to the eye, negligible beside the files.
constexpr DWORD kFrameMilliseconds = 33;

}  // namespace

Win32WizardView::Win32WizardView(WizardPages& pages, Window window) : pages_(pages), window_(std::move(window)) {}

void Win32WizardView::ShowPanel(int page) {
  const POINT place = pages_.PanelPlace();
  SetWindowPos(pages_.Panel(page), HWND_TOP, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

void Win32WizardView::HidePanel(int page) { ShowWindow(pages_.Panel(page), SW_HIDE); }

TFlatButton& Win32WizardView::Button(WizardButton button) const {
  switch (button) {
    case WizardButton::kPrior: return pages_.btnPrior;
    case WizardButton::kNext: return pages_.btnNext;
    case WizardButton::kClose: break;
  }
  return pages_.btnClose;
}

void Win32WizardView::SetButtonEnabled(WizardButton button, bool enabled) { Button(button).SetEnabled(enabled); }

bool Win32WizardView::ButtonEnabled(WizardButton button) const { return Button(button).Enabled(); }

void Win32WizardView::SetCloseTag(int tag) { pages_.btnClose.SetTag(tag); }

int Win32WizardView::CloseTag() const { return pages_.btnClose.Tag(); }

std::string Win32WizardView::FolderText() const { return pages_.txtFolder.Text(); }

void Win32WizardView::SetFolderText(const std::string& text) { pages_.txtFolder.SetText(text); }

void Win32WizardView::SetFreeSpaceCaption(const std::string& caption) { SetLabelText(pages_.lblFreeSpace, caption); }

bool Win32WizardView::BrowseForFolder(std::string& folder) {
  return window_.browseForFolder && window_.browseForFolder(folder);
}

void Win32WizardView::SetProgressCaption(const std::string& caption) { SetLabelText(pages_.lblProgress, caption); }

DWORD Win32WizardView::Now() const { return window_.clock ? window_.clock() : GetTickCount(); }

bool Win32WizardView::FrameDue(DWORD& last) {
  const DWORD now = Now();
  if (now - last < kFrameMilliseconds) return false;
  last = now;
  return true;
}

void Win32WizardView::ShowBars() {
  if (pages_.prgInstall.Position() != installPosition_) pages_.prgInstall.SetPosition(installPosition_);
  if (pages_.prgOverall.Position() != overallPosition_) pages_.prgOverall.SetPosition(overallPosition_);
}

void Win32WizardView::SetInstallPosition(int position) {
  installPosition_ = position;
  // Inside one large entry no messages are handled: the bar paints itself.
  if (FrameDue(lastRepaint_)) {
    ShowBars();
    UpdateWindow(pages_.prgInstall.Handle());
  }
}

void Win32WizardView::SetOverallPosition(int position) { overallPosition_ = position; }

bool Win32WizardView::RestartChosen() const { return pages_.chkRestart.Checked(); }

void Win32WizardView::ProcessMessages() {
  lastRepaint_ = lastMessages_ = Now();
  ShowBars();
  if (window_.pumpMessages) window_.pumpMessages();
}

void Win32WizardView::KeepResponsive() {
  if (FrameDue(lastMessages_)) ProcessMessages();
}

void Win32WizardView::CloseWindow() {
  if (window_.close) window_.close();
}

}  // namespace setuvane
