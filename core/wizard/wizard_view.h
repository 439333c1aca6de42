// What the wizard's logic needs of its window: the six page panels, the three
// buttons, the controls of the folder, install and completion pages, and the
// processing of waiting window messages. The Windows build implements it over the
// real controls; tests implement it with plain data. Texts are UTF-8.
#pragma once

#include <string>

namespace setuvane {

enum class WizardButton { kPrior, kNext, kClose };

// The items of a one-column list (the licence and product information pages).
class ListItems {
 public:
  virtual ~ListItems() = default;
  virtual void Clear() = 0;
  virtual void Add(const std::string& caption) = 0;
};

class WizardView {
 public:
  virtual ~WizardView() = default;

  // Page panels by page number, 1 to 6. Showing places the panel to the right of
  // the side picture and makes it visible.
  virtual void ShowPanel(int page) = 0;
  virtual void HidePanel(int page) = 0;

  virtual void SetButtonEnabled(WizardButton button, bool enabled) = 0;
  virtual bool ButtonEnabled(WizardButton button) const = 0;
  // The close button's tag: 1 once the completion page was shown.
  virtual void SetCloseTag(int tag) = 0;
  virtual int CloseTag() const = 0;

  // The folder page. Setting a different text raises the change handler, as typing does.
  virtual std::string FolderText() const = 0;
  virtual void SetFolderText(const std::string& text) = 0;
  virtual void SetFreeSpaceCaption(const std::string& caption) = 0;
  // Runs the folder dialog; true with the chosen folder when the user chose one.
  virtual bool BrowseForFolder(std::string& folder) = 0;

  // The install page: the line of progress text and the two bars (0 to 100).
  virtual void SetProgressCaption(const std::string& caption) = 0;
  virtual void SetInstallPosition(int position) = 0;
  virtual void SetOverallPosition(int position) = 0;

  // The completion page: true when "restart now" is selected.
  virtual bool RestartChosen() const = 0;

  // Handles the window messages that are waiting (repaint, input) and returns.
  virtual void ProcessMessages() = 0;
  // The same inside a loop over many small items: the window may skip it when it
  // was done a moment ago, so that it stays responsive without costing per item.
  virtual void KeepResponsive() = 0;
  // Closes the main window, which ends the program.
  virtual void CloseWindow() = 0;
};

}  // namespace setuvane
