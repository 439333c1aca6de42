#include "widgets/folder_dialog.h"

#include <shlobj.h>

#include "system/wide_or_ansi_choice_win32.h"
#include "system/wide_or_ansi_files_win32.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

// The controls of the shell's browse dialog.
constexpr int kFolderTreeId = 0x3741;  // 14145
constexpr int kStatusLineId = 0x3743;

constexpr char kImplProperty[] = "SetuvaneFolderDialog";

HWND TreeOf(HWND dialog) { return GetDlgItem(dialog, kFolderTreeId); }

bool IsFolder(const std::string& path) {
  const DWORD attributes = win32::AttributesAt(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDriveRoot(const std::string& path) {
  const bool letter = !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return letter && (path.size() == 2 || (path.size() == 3 && path[2] == '\\')) && path[1] == ':';
}

// Whether the desktop folder takes the path for a folder of the file system.
bool IsFileSystemItem(const std::string& path) {
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop))) return false;
  std::wstring wide = win32::Wide(path);  // the shell's names are UTF-16 on every system
  PIDLIST_RELATIVE item = nullptr;
  ULONG attributes = SFGAO_FILESYSTEM;
  const HRESULT result = desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &item, &attributes);
  desktop->Release();
  CoTaskMemFree(item);
  return SUCCEEDED(result) && (attributes & SFGAO_FILESYSTEM);
}

// The path shortened in the middle to fit the status line, one character's width
// ("W") kept free at its end.
std::string ShortenedToFit(HWND statusLine, const std::string& path) {
  RECT area{};
  GetClientRect(statusLine, &area);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(ui::Send(statusLine, WM_GETFONT, 0, 0)));
  std::string shortened = ui::PathFittingWidth(dc, path + "W", area);
  SelectObject(dc, previous);
  DeleteDC(dc);
  if (!shortened.empty() && shortened.back() == 'W') shortened.pop_back();
  return shortened;
}

}  // namespace

struct TFolderDialog::Impl {
  HWND owner = nullptr;
  std::string title = "Browse for Folder";
  std::string text;
  std::string directory;
  TBrowseOptions options = kDefaultBrowseOptions;
  TRootFolder root = TRootFolder::sfoDesktopExpanded;
  int left = 0;
  int top = 0;
  std::function<void()> onShow, onChange, onClose;

  HWND window = nullptr;  // while shown
  WNDPROC shellProc = nullptr;
  std::string selectionPath;
  bool focusedOnce = false;  // the tree of the window shown now has had the focus

  void Initialized(HWND dialog) {
    window = dialog;
    focusedOnce = false;  // every Execute makes a new window
    SetPropA(dialog, kImplProperty, this);
    shellProc = ui::Subclass(dialog, &SubclassProc);
    Place();
    if (!directory.empty()) Select(directory);
    SetCaption();
    if (onShow) onShow();
  }

  void Place() const {
    RECT dialog{};
    GetWindowRect(window, &dialog);
    PointI at;
    if (options.Has(TBrowseOption::bfParentCenter)) {
      RECT frame{};
      GetWindowRect(owner ? owner : GetDesktopWindow(), &frame);
      at = ParentCentrePosition({frame.left, frame.top, frame.right, frame.bottom},
                                {dialog.right - dialog.left, dialog.bottom - dialog.top});
    } else if (options.Has(TBrowseOption::bfScreenCenter)) {
      RECT client{};
      GetClientRect(window, &client);
      at = ScreenCentrePosition({GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)},
                                {client.right, client.bottom});
    } else {
      POINT point{left, top};
      if (owner) ClientToScreen(owner, &point);
      at = {point.x, point.y};
    }
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void SetCaption() const {
    ui::SetText(window, title);
  }

  // Selects an existing folder (or a drive root) of the file system in the tree;
  // anything else is left alone and the tree stays where it is. The shell is
  // handed the path itself: it finds the tree's own item for it more reliably
  // than an item made here.
  void Select(std::string path) const {
    if (path.size() >= 2 && path.compare(path.size() - 2, 2, "\\.") == 0) path.pop_back();
    if ((!IsFolder(path) && !IsDriveRoot(path)) || !IsFileSystemItem(path)) return;
    ui::SelectBrowsedPath(window, path);
  }

  void SelectionChanged(HWND dialog, PCIDLIST_ABSOLUTE item) {
    selectionPath = ui::PathOfItem(item);
    const bool fileSystemOnly = options.Has(TBrowseOption::bfFileSysDirsOnly);
    const bool showPath = options.Has(TBrowseOption::bfShowPathInStatusArea);
    if (fileSystemOnly) ui::Send(dialog, BFFM_ENABLEOK, 0, !selectionPath.empty());
    if (!selectionPath.empty()) {
      if (showPath) {
        const std::string shown = ShortenedToFit(GetDlgItem(dialog, kStatusLineId), selectionPath);
        ui::SetBrowseStatus(dialog, shown);
      }
      if (onChange) onChange();
    } else if (fileSystemOnly || showPath) {
      ui::SetBrowseStatus(dialog, "");
    }
  }

  LRESULT Subclassed(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    const WNDPROC shell = shellProc;
    if (message == WM_NCDESTROY) {
      ui::Subclass(dialog, shell);
      RemovePropA(dialog, kImplProperty);
      window = nullptr;
      selectionPath.clear();
      if (onClose) onClose();
      return ui::CallProc(shell, dialog, message, wp, lp);
    }
    const LRESULT result = ui::CallProc(shell, dialog, message, wp, lp);
    if (message == WM_SHOWWINDOW && wp && !focusedOnce) {
      focusedOnce = true;
      SetFocus(TreeOf(dialog));
    }
    return result;
  }

  static LRESULT CALLBACK SubclassProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    auto* impl = static_cast<Impl*>(GetPropA(dialog, kImplProperty));
    return impl->Subclassed(dialog, message, wp, lp);
  }

  static int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lp, LPARAM data) {
    auto* impl = reinterpret_cast<Impl*>(data);
    if (message == BFFM_INITIALIZED) impl->Initialized(dialog);
    else if (message == BFFM_SELCHANGED) impl->SelectionChanged(dialog, reinterpret_cast<PCIDLIST_ABSOLUTE>(lp));
    return 0;
  }
};

TFolderDialog::TFolderDialog(HWND owner) : impl_(std::make_shared<Impl>()) { impl_->owner = owner; }

TFolderDialog::~TFolderDialog() {
  if (impl_->window) DestroyWindow(impl_->window);
}

void TFolderDialog::SetOwner(HWND owner) { impl_->owner = owner; }

const std::string& TFolderDialog::Title() const { return impl_->title; }

void TFolderDialog::SetTitle(const std::string& title) {
  impl_->title = title;
  if (impl_->window) impl_->SetCaption();
}

const std::string& TFolderDialog::Text() const { return impl_->text; }

void TFolderDialog::SetText(const std::string& text) { impl_->text = text; }

std::string TFolderDialog::Directory() const { return impl_->window ? impl_->selectionPath : impl_->directory; }

void TFolderDialog::SetDirectory(const std::string& directory) {
  impl_->directory = directory;
  if (impl_->window && directory != impl_->selectionPath) impl_->Select(directory);
}

TBrowseOptions TFolderDialog::Options() const { return impl_->options; }

void TFolderDialog::SetOptions(TBrowseOptions options) {
  impl_->options = ConsistentBrowseOptions(impl_->options, options, impl_->root);
}

TRootFolder TFolderDialog::RootFolder() const { return impl_->root; }

void TFolderDialog::SetRootFolder(TRootFolder root) { impl_->root = root; }

void TFolderDialog::SetLeft(int left) { impl_->left = left; }

void TFolderDialog::SetTop(int top) { impl_->top = top; }

void TFolderDialog::SetOnShow(std::function<void()> handler) { impl_->onShow = std::move(handler); }

void TFolderDialog::SetOnChange(std::function<void()> handler) { impl_->onChange = std::move(handler); }

void TFolderDialog::SetOnClose(std::function<void()> handler) { impl_->onClose = std::move(handler); }

HWND TFolderDialog::Handle() const { return impl_->window; }

bool TFolderDialog::Execute() {
  // Kept alive to the end even if a handler destroys the component meanwhile.
  const std::shared_ptr<Impl> impl = impl_;
  PIDLIST_ABSOLUTE root = nullptr;
  if (std::optional<int> csidl = CsidlOf(impl->root)) {
    if (FAILED(SHGetSpecialFolderLocation(impl->owner, *csidl, &root))) root = nullptr;
  }
  PIDLIST_ABSOLUTE chosen = ui::BrowseForFolder(impl->owner, root, impl->text, BrowseFlagsOf(impl->options),
                                                &Impl::BrowseCallback, reinterpret_cast<LPARAM>(impl.get()));
  CoTaskMemFree(root);
  const bool chose = chosen != nullptr;
  impl->directory = ui::PathOfItem(chosen);  // empty after a cancel
  CoTaskMemFree(chosen);
  return chose;
}

}  // namespace setuvane
