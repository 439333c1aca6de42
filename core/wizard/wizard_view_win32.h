// The wizard's view over the real controls. The install page keeps its window
// cheap while thousands of entries go by: the bars repaint when their position
// changes but not more often than the screen can show, and waiting messages are
// handled a few dozen times a second rather than once per entry. The two have
// clocks of their own, so that frequent progress never starves the messages.
#pragma once

#include <windows.h>

#include <functional>

#include "core/wizard/wizard_pages_win32.h"
#include "core/wizard/wizard_view.h"

namespace setuvane {

// A list of the wizard over a report-view list control.
class ReportListItems : public ListItems {
 public:
  explicit ReportListItems(TReportList& list) : list_(list) {}
  void Clear() override { list_.Clear(); }
  void Add(const std::string& caption) override { list_.Add(caption); }

 private:
  TReportList& list_;
};

class Win32WizardView : public WizardView {
 public:
  struct Window {
    std::function<void()> pumpMessages;  // handles every waiting message
    std::function<void()> close;
    std::function<bool(std::string&)> browseForFolder;
    std::function<DWORD()> clock;  // milliseconds; GetTickCount when empty
  };

  Win32WizardView(WizardPages& pages, Window window);

  void ShowPanel(int page) override;
  void HidePanel(int page) override;
  void SetButtonEnabled(WizardButton button, bool enabled) override;
  bool ButtonEnabled(WizardButton button) const override;
  void SetCloseTag(int tag) override;
  int CloseTag() const override;
  std::string FolderText() const override;
  void SetFolderText(const std::string& text) override;
  void SetFreeSpaceCaption(const std::string& caption) override;
  bool BrowseForFolder(std::string& folder) override;
  void SetProgressCaption(const std::string& caption) override;
  void SetInstallPosition(int position) override;
  void SetOverallPosition(int position) override;
  bool RestartChosen() const override;
  void ProcessMessages() override;
  void KeepResponsive() override;
  void CloseWindow() override;

 private:
  TFlatButton& Button(WizardButton button) const;
  DWORD Now() const;
  // True, and `last` restarted, when a frame's time has passed since `last`.
  bool FrameDue(DWORD& last);
  void ShowBars();

  WizardPages& pages_;
  Window window_;
  DWORD lastRepaint_ = 0;   // of the bars, by their progress
  DWORD lastMessages_ = 0;  // waiting messages handled
  int installPosition_ = 0;
  int overallPosition_ = 0;
};

}  // namespace setuvane
