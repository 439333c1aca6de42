// TfrmInfoDialog, the problem dialog of ShowProblemDialog: a warning icon beside
// the message, the buttons "Zamknij", "Szczegóły" and "Wyślij", and below them a
// details area that opens and closes on demand, with the hint and the details as
// two owner-drawn lines with icons. "Wyślij" sends the report by e-mail.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "dialogs/form_window_win32.h"
#include "dialogs/modal_run_win32.h"
#include "widgets/flat_button.h"
#include "widgets/gdi_win32.h"

namespace setuvane {

class TfrmInfoDialog {
 public:
  TfrmInfoDialog();  // creates the hidden, collapsed window
  ~TfrmInfoDialog();
  TfrmInfoDialog(const TfrmInfoDialog&) = delete;
  TfrmInfoDialog& operator=(const TfrmInfoDialog&) = delete;

  // What ShowProblemDialog sets before showing.
  void SetCaption(const std::string& caption);
  void SetMessage(const std::string& message);
  void SetDetailLines(const std::vector<std::string>& lines);  // replaces the list
  void SetDetailsEnabled(bool enabled);

  int ShowModal();
  HWND Handle() const { return window_; }

 private:
  template <class Form>
  friend LRESULT CALLBACK FormWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void FormCreate();
  void FormShow();
  void FormKeyDown(int key);
  void btnCloseClick();
  void btnDetailsClick();
  void popSendClick();
  void lstDetailsMeasureItem(MEASUREITEMSTRUCT& item);
  void lstDetailsDrawItem(const DRAWITEMSTRUCT& item);

  HWND window_ = nullptr;
  HWND imgIcon_ = nullptr;
  HWND lblMessage_ = nullptr;
  HWND bvlVerticalSeparator_ = nullptr;
  HWND lstDetails_ = nullptr;
  TFlatButton btnClose_{"btnClose"}, btnDetails_{"btnDetails"}, btnSend_{"btnSend"};
  GdiObject<HBITMAP> imgException_, imgCritical_;
  GdiObject<HFONT> font_;
  std::string caption_;
  std::vector<std::string> lines_;  // the list's lines, drawn and reported
  int expanded_ = 0;
  ModalRun run_;
};

}  // namespace setuvane
