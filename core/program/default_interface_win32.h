// core/program/: the program setuvane.exe: its entry (main_win32.cpp), start-up,
// the environment checks, the main window, the log of /LOG and the ways an
// unattended run shows itself. It sits on top of every other room.
//
// TfrmDefaultInterface, the installer's main window: borderless, black, covering
// the whole screen, with the corner picture and the logo at the top left and the
// wizard's panel scrDefault kept centred. Creating it runs the start-up sequence.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/program/environment_check.h"
#include "core/installation/installation.h"
#include "core/wizard/wizard.h"
#include "core/wizard/wizard_pages_win32.h"
#include "core/wizard/wizard_view_win32.h"
#include "dialogs/form_window_win32.h"
#include "widgets/folder_dialog.h"
#include "widgets/gdi_win32.h"

namespace setuvane {

class TfrmDefaultInterface {
 public:
  // Design client size; the window is sized to the screen when shown.
  static constexpr int kDesignWidth = 804;
  static constexpr int kDesignHeight = 585;

  // Creates the hidden window and runs FormCreate. `environment` answers the
  // environment checks (null: ask Windows about this window).
  explicit TfrmDefaultInterface(std::unique_ptr<EnvironmentQueries> environment = nullptr);
  ~TfrmDefaultInterface();
  TfrmDefaultInterface(const TfrmDefaultInterface&) = delete;
  TfrmDefaultInterface& operator=(const TfrmDefaultInterface&) = delete;

  // Shows the window maximised over the whole screen, then runs FormShow.
  void Show();
  // Handles the messages of the window's first showing, so that it is on the
  // screen before work that processes no messages for a while begins.
  void WaitUntilDrawn();
  // Key preview: the message loop hands every key-down meant for the window or
  // one of its controls here before dispatching it.
  void PreviewKey(const MSG& msg);

  HWND Handle() const { return window_; }
  HWND scrDefault() const { return scrDefault_; }
  HWND Image1() const { return image1_; }
  HWND imgInstall() const { return imgInstall_; }
  HWND imgMotive() const { return imgMotive_; }
  // The window's caption (InstallMainTitle once the settings are read). There is
  // no caption bar; the taskbar shows the application title, the window's text.
  const std::string& Caption() const { return caption_; }

  // The application-wide handler for failures that no routine caught: reports the
  // failure's text and lets the program go on.
  static void appEventsException(const std::string& message);
  void btnCloseClick();

  // The wizard's controls and logic, for tests that drive the window.
  WizardPages& Pages() { return pages_; }
  Wizard& wizard() { return *wizard_; }
  WizardView& View() { return *view_; }
  Installation& installation() { return *installation_; }
  TFolderDialog& dlgFolder() { return *dlgFolder_; }

 private:
  template <class Form>
  friend LRESULT CALLBACK FormWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void CreateControls();
  void CoverScreen();
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormResize();
  void FormKeyDown(int key);
  void CreateWizard();
  // The folder dialog of the "..." button: true with the chosen folder.
  bool btnBrowseExecute(std::string& folder);
  // Handles every waiting message, the keys through the key preview, as the
  // message loop does.
  void PumpMessages();
  bool SetScreenCursorShape();

  HWND window_ = nullptr;
  HWND image1_ = nullptr;
  HWND imgInstall_ = nullptr;
  HWND scrDefault_ = nullptr;
  HWND imgMotive_ = nullptr;
  GdiObject<HFONT> font_;
  std::string caption_;
  std::unique_ptr<EnvironmentQueries> environment_;
  WizardPages pages_;
  std::unique_ptr<Win32WizardView> view_;
  std::unique_ptr<Installation> installation_;
  std::unique_ptr<Wizard> wizard_;
  std::unique_ptr<TFolderDialog> dlgFolder_;
  bool closeAsking_ = false;  // btnCloseClick is running (its question may be open)
};

}  // namespace setuvane
