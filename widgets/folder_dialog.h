// TFolderDialog: the shell's folder browser (SHBrowseForFolderA) with a caption of
// its own, placement over its owner window (or on the screen, or at Left/Top in
// the owner's client coordinates), an initial selection, a status line showing
// the selected path shortened with an ellipsis, and OK enabled only for folders
// of the file system. Options and placement rules: widgets/folder_dialog_rules.h.
// Texts and paths are UTF-8. COM must be initialised on the calling thread.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "widgets/folder_dialog_rules.h"

namespace setuvane {

class TFolderDialog {
 public:
  explicit TFolderDialog(HWND owner = nullptr);
  ~TFolderDialog();  // closes the dialog if it is shown
  TFolderDialog(const TFolderDialog&) = delete;
  TFolderDialog& operator=(const TFolderDialog&) = delete;

  // The window the dialog is placed over and owned by; none: the screen.
  void SetOwner(HWND owner);

  // The caption; "Browse for Folder" at first. Set while shown, it changes at once.
  const std::string& Title() const;
  void SetTitle(const std::string& title);
  // The prompt above the folder tree; none when empty.
  const std::string& Text() const;
  void SetText(const std::string& text);

  // Before Execute the folder to select first; after it the chosen folder (empty
  // after a cancel or for an item without a path); while shown the selection's.
  std::string Directory() const;
  // Stores the folder; while shown it also selects it when it names an existing
  // folder or a drive root.
  void SetDirectory(const std::string& directory);

  TBrowseOptions Options() const;
  void SetOptions(TBrowseOptions options);  // kept consistent, see ConsistentBrowseOptions
  TRootFolder RootFolder() const;
  void SetRootFolder(TRootFolder root);
  // The place used when neither centring option is set.
  void SetLeft(int left);
  void SetTop(int top);

  void SetOnShow(std::function<void()> handler);    // the dialog is shown
  void SetOnChange(std::function<void()> handler);  // the selection moved to an item with a path
  void SetOnClose(std::function<void()> handler);   // the dialog closed

  // Shows the dialog modally; true when the user chose with OK.
  bool Execute();

  HWND Handle() const;  // the dialog window while shown

  struct Impl;

 private:
  std::shared_ptr<Impl> impl_;
};

}  // namespace setuvane
