// TfrmMessageDialog, the question window of ShowMessageDialog: a small borderless
// window with a bubble picture, a bold title above the message, up to three answer
// buttons, a close button and a drop-down menu ("Kopiuj", "Wyślij", "Zamknij").
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "dialogs/form_window_win32.h"
#include "dialogs/modal_run_win32.h"
#include "widgets/gdi_win32.h"
#include "widgets/plain_button.h"
#include "widgets/static_memo.h"
#include "widgets/toolbar_button97.h"

namespace setuvane {

class TfrmMessageDialog {
 public:
  // Menu commands of popDefault, also accepted as WM_COMMAND by the window.
  static constexpr int kCommandCopy = 1;
  static constexpr int kCommandSend = 2;
  static constexpr int kCommandClose = 3;

  TfrmMessageDialog();  // creates the hidden window, every button hidden
  ~TfrmMessageDialog();
  TfrmMessageDialog(const TfrmMessageDialog&) = delete;
  TfrmMessageDialog& operator=(const TfrmMessageDialog&) = delete;

  // Fills the window: title, text and the layout of the kind.
  void Prepare(const std::string& title, const std::string& text, int kind);
  int ShowModal();
  // Fills the window with a button for each caption (ShowChoiceDialog), and shows it:
  // the number of the button chosen, 0 when none was.
  void PrepareChoice(const std::string& title, const std::string& text, const std::vector<std::string>& captions);
  int ShowChoiceModal();
  HWND Handle() const { return window_; }

 private:
  template <class Form>
  friend LRESULT CALLBACK FormWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void CreateControls();
  void CentreOverMainWindow();

  void ButtonClick(const TPlainButton& button);
  void FormKeyDown(int key);
  void btnCloseClick();
  void btnDropdownClick();
  void popDefaultCopyClick();
  void popDefaultSendClick();

  HWND window_ = nullptr;
  HWND scrollBox_ = nullptr;
  HWND imgStyle_ = nullptr;
  HWND lblTitle_ = nullptr;
  TStaticMemo memMessage_;
  TPlainButton btn1_, btn2_, btn3_;
  TToolbarButton97 btnClose_, btnDropdown_;
  GdiObject<HFONT> font_, boldFont_;
  GdiObject<HBITMAP> glyphRight_, glyphDown_;
  ModalRun run_;
  // Of a choice: the result each of btn1, btn2, btn3 gives (0: a caption's own).
  std::array<int, 3> choiceResults_{};
  int width_ = 0;  // the window's: wider for a choice whose captions need it
};

}  // namespace setuvane
