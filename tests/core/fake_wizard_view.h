// The wizard's window made of plain data: what is shown, enabled and written, and
// the order of the calls that matter to the installation's progress.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/wizard/wizard_view.h"

namespace setuvane::fakes {

class FakeWizardView : public WizardView {
 public:
  std::set<int> visiblePanels;
  std::map<WizardButton, bool> enabled{
      {WizardButton::kPrior, true}, {WizardButton::kNext, true}, {WizardButton::kClose, true}};
  int closeTag = 0;
  std::string folderText;
  std::function<void()> onFolderChange;
  std::string freeSpace;
  std::string progressCaption;
  std::vector<std::string> progressCaptions;
  std::vector<int> installPositions;
  std::vector<int> overallPositions;
  bool restartChosen = true;
  int closed = 0;
  int processed = 0;
  std::optional<std::string> browseAnswer;  // none: the user cancels
  // Runs inside ProcessMessages, as input that arrives while the installation works.
  std::function<void()> duringMessages;

  void ShowPanel(int page) override { visiblePanels.insert(page); }
  void HidePanel(int page) override { visiblePanels.erase(page); }
  void SetButtonEnabled(WizardButton button, bool value) override { enabled[button] = value; }
  bool ButtonEnabled(WizardButton button) const override { return enabled.at(button); }
  void SetCloseTag(int tag) override { closeTag = tag; }
  int CloseTag() const override { return closeTag; }
  std::string FolderText() const override { return folderText; }
  void SetFolderText(const std::string& text) override {
    if (text == folderText) return;
    folderText = text;
    if (onFolderChange) onFolderChange();
  }
  void SetFreeSpaceCaption(const std::string& caption) override { freeSpace = caption; }
  bool BrowseForFolder(std::string& folder) override {
    if (!browseAnswer) return false;
    folder = *browseAnswer;
    return true;
  }
  void SetProgressCaption(const std::string& caption) override {
    progressCaption = caption;
    progressCaptions.push_back(caption);
  }
  void SetInstallPosition(int position) override { installPositions.push_back(position); }
  void SetOverallPosition(int position) override { overallPositions.push_back(position); }
  bool RestartChosen() const override { return restartChosen; }
  void ProcessMessages() override {
    ++processed;
    if (duringMessages) duringMessages();
  }
  void KeepResponsive() override { ProcessMessages(); }
  void CloseWindow() override { ++closed; }

  // The one visible page, or 0.
  int VisiblePage() const { return visiblePanels.size() == 1 ? *visiblePanels.begin() : 0; }
};

// A list of captions.
struct FakeList : ListItems {
  std::vector<std::string> items;
  void Clear() override { items.clear(); }
  void Add(const std::string& caption) override { items.push_back(caption); }
};

}  // namespace setuvane::fakes
