// The wizard without a window, for an installation that shows nothing: the state
// the logic reads back is kept, everything else goes nowhere.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "core/wizard/wizard_view.h"

namespace setuvane {

class WindowlessView : public WizardView {
 public:
  // Called when the folder text changes, as the edit box's change handler is.
  std::function<void()> onFolderChange;

  void ShowPanel(int) override {}
  void HidePanel(int) override {}
  void SetButtonEnabled(WizardButton button, bool enabled) override { enabled_[button] = enabled; }
  bool ButtonEnabled(WizardButton button) const override {
    const auto found = enabled_.find(button);
    return found == enabled_.end() || found->second;
  }
  void SetCloseTag(int tag) override { closeTag_ = tag; }
  int CloseTag() const override { return closeTag_; }
  std::string FolderText() const override { return folder_; }
  void SetFolderText(const std::string& text) override {
    if (text == folder_) return;
    folder_ = text;
    if (onFolderChange) onFolderChange();
  }
  void SetFreeSpaceCaption(const std::string&) override {}
  bool BrowseForFolder(std::string&) override { return false; }
  void SetProgressCaption(const std::string&) override {}
  void SetInstallPosition(int) override {}
  void SetOverallPosition(int) override {}
  bool RestartChosen() const override { return false; }
  void ProcessMessages() override {}
  void KeepResponsive() override {}
  void CloseWindow() override {}

 private:
  std::map<WizardButton, bool> enabled_;
  int closeTag_ = 0;
  std::string folder_;
};

}  // namespace setuvane
