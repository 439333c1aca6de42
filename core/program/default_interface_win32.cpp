#include "core/program/default_interface_win32.h"

#include "core/run/abort_installation.h"
#include "archive/file_system.h"
#include "core/program/environment_queries_win32.h"
#include "core/run/exit_codes.h"
#include "core/package/install_package.h"
#include "core/run/installer_state.h"
#include "core/run/screen_cursor.h"
#include "core/package/settings.h"
#include "core/wizard/information_pages.h"
#include "core/wizard/wizard_texts.h"
#include "core/run/main_window_texts.h"
#include "core/program/startup.h"
#include "dialogs/application_title.h"
#include "dialogs/artwork_win32.h"
#include "dialogs/centring.h"
#include "dialogs/controls_win32.h"
#include "dialogs/form_window_win32.h"
#include "dialogs/message_routines.h"
#include "dialogs/modal_run_win32.h"
#include "dialogs/ui_font_win32.h"
#include "dialogs/uncaught_failure.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

constexpr char kClassName[] = "TfrmDefaultInterface";
constexpr int kEscape = 27;
// Posted by the wizard once closing is decided: the window closes without asking.
constexpr UINT kCloseNow = WM_APP + 1;

RECT ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

TfrmDefaultInterface::TfrmDefaultInterface(std::unique_ptr<EnvironmentQueries> environment)
    : environment_(std::move(environment)) {
  RegisterFormClass(kClassName, &FormWindowProc<TfrmDefaultInterface>,
                    static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ui::NewWindow(WS_EX_APPWINDOW, kClassName, ApplicationTitle(), WS_POPUP | WS_CLIPCHILDREN, 0, 0, kDesignWidth,
                kDesignHeight, nullptr, this);
  if (!environment_) environment_ = std::make_unique<Win32EnvironmentQueries>(window_);
  CreateControls();
  SetMainWindow(window_);
  SetUncaughtFailureHandler(&TfrmDefaultInterface::appEventsException);
  // The taskbar shows the window's text: it follows the application title.
  SetApplicationTitleListener([this](const std::string& title) { SetWindowTextUtf8(window_, title); });
  SetScreenCursorListener([this](ScreenCursor) { SetScreenCursorShape(); });
  try {
    FormCreate();
  } catch (...) {
    // The remaining start-up steps are skipped; the window stays as far as it got.
    appEventsException(CurrentExceptionText());
  }
}

TfrmDefaultInterface::~TfrmDefaultInterface() {
  SetScreenCursorListener(nullptr);
  SetApplicationTitleListener(nullptr);
  SetUncaughtFailureHandler(nullptr);
  SetMainWindow(nullptr);
  DestroyFormWindow(window_);
}

void TfrmDefaultInterface::CreateControls() {
  font_ = CreateTahoma();
  ui::Send(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  image1_ = CreatePicture(window_, 2, 8, 275, 190, /*keyed=*/false);
  SetPicture(image1_, LoadArtwork(IDB_CORNER));
  imgInstall_ = CreatePicture(window_, 16, 16, 180, 60, /*keyed=*/false);
  SetPicture(imgInstall_, LoadArtwork(IDB_LOGO));
  // The logo lies over the corner picture.
  SetWindowPos(imgInstall_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  scrDefault_ =
      CreatePanel(window_, 24, 208, kWizardPanelWidth, kWizardPanelHeight, GetSysColor(COLOR_BTNFACE));
  imgMotive_ = CreatePicture(scrDefault_, 5, 5, 120, 250, /*keyed=*/false);
  SetPicture(imgMotive_, LoadArtwork(IDB_MOTIVE));
  CreateWizard();
}

void TfrmDefaultInterface::CreateWizard() {
  pages_.Create(scrDefault_, imgMotive_);
  dlgFolder_ = std::make_unique<TFolderDialog>(window_);
  dlgFolder_->SetTitle(WizardText().folderDialogTitle);
  dlgFolder_->SetText(WizardText().folderDialogText);
  view_ = std::make_unique<Win32WizardView>(
      pages_, Win32WizardView::Window{
                  .pumpMessages = [this] { PumpMessages(); },
                  .close = [this] { ui::Post(window_, kCloseNow, 0, 0); },
                  .browseForFolder = [this](std::string& folder) { return btnBrowseExecute(folder); },
              });
  installation_ = std::make_unique<Installation>(*view_, archive::NativeFileSystem());
  wizard_ = std::make_unique<Wizard>(*view_, installation_->Steps());
  const auto handler = [](auto action) { return [action] { CallReportingFailures(action); }; };
  pages_.btnPrior.SetOnClick(handler([this] { wizard_->btnPriorClick(); }));
  pages_.btnNext.SetOnClick(handler([this] { wizard_->btnNextClick(); }));
  pages_.btnClose.SetOnClick(handler([this] { btnCloseClick(); }));
  pages_.btnBrowse.SetOnClick(handler([this] { wizard_->btnBrowseClick(); }));
  pages_.txtFolder.SetOnChange(handler([this] { wizard_->txtFolderChange(); }));
}

bool TfrmDefaultInterface::btnBrowseExecute(std::string& folder) {
  if (!dlgFolder_->Execute()) return false;
  folder = dlgFolder_->Directory();
  return true;
}

void TfrmDefaultInterface::PumpMessages() {
  MSG msg;
  while (ui::PeekNext(msg)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the message loop to see
      return;
    }
    PreviewKey(msg);
    TranslateMessage(&msg);
    ui::Dispatch(msg);
  }
}

void TfrmDefaultInterface::WaitUntilDrawn() {
  // The window system shows a window in its own time (under X, after the map
  // request has been answered): a short while of message handling lets it.
  constexpr DWORD kSettleMilliseconds = 150;
  const DWORD start = GetTickCount();
  do {
    PumpMessages();
    Sleep(10);
  } while (GetTickCount() - start < kSettleMilliseconds);
}

bool TfrmDefaultInterface::SetScreenCursorShape() {
  if (CurrentScreenCursor() != ScreenCursor::kHourglass) {
    SetCursor(ui::SystemCursor(IDC_ARROW));
    return false;
  }
  SetCursor(ui::SystemCursor(IDC_WAIT));
  return true;
}

void TfrmDefaultInterface::FormCreate() {
  InitialiseInstallerState();
  EnteringStage(kExitEnvironmentRefused);
  if (!CheckEnvironment(*environment_)) EndProgramAtOnce();
  EnteringStage(kExitPackageUnreadable);
  installation_->OpenInstallPackage();
  ReportListItems license(pages_.lsvLicense), readme(pages_.lsvReadme);
  LoadLicense(license);
  LoadReadme(readme);
  SetApplicationTitle(InstallTaskTitle);
  caption_ = InstallMainTitle;
  if (const std::optional<std::string> logo = PackageLogoPath()) {
    GdiObject<HBITMAP> picture(ui::LoadBitmapFile(*logo));
    // Reported as a failure no routine caught, and the start-up goes on with the
    // design-time logo: a window without its first page would be of no use.
    if (picture) {
      SetPicture(imgInstall_, std::move(picture));
    } else {
      appEventsException(*logo + MainWindowText().unreadableLogo);
    }
  }
  wizard_->ShowPage();
}

void TfrmDefaultInterface::Show() {
  ShowWindow(window_, SW_SHOWMAXIMIZED);
  // Without a window manager a borderless window may keep its design size when
  // maximised: it is sized to the screen explicitly.
  CoverScreen();
  UpdateWindow(window_);
  FormShow();
}

void TfrmDefaultInterface::CoverScreen() {
  const RECT screen = ScreenRect();
  SetWindowPos(window_, nullptr, screen.left, screen.top, screen.right - screen.left,
               screen.bottom - screen.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmDefaultInterface::FormShow() { StartLoopingSound(); }

void TfrmDefaultInterface::FormClose() { StopLoopingSound(); }

void TfrmDefaultInterface::FormResize() {
  if (!scrDefault_) return;  // sized while being created, before the panel exists
  RECT outer;
  GetWindowRect(window_, &outer);
  SetWindowPos(scrDefault_, nullptr, CentredOffset(outer.right - outer.left, kWizardPanelWidth),
               CentredOffset(outer.bottom - outer.top, kWizardPanelHeight), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  // Paint the panel whole at its new place: not every system repaints what the
  // move uncovered when the window was resized at the same time.
  RedrawWindow(scrDefault_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TfrmDefaultInterface::PreviewKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return;
  if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return;
  CallReportingFailures([&] { FormKeyDown(static_cast<int>(msg.wParam)); });
}

void TfrmDefaultInterface::FormKeyDown(int key) {
  if (key == kEscape) btnCloseClick();  // the key goes on to the controls as well
}

void TfrmDefaultInterface::btnCloseClick() {
  // While its question is open the close button cannot be pressed: a close request
  // that arrives meanwhile (the taskbar's) is dropped, not asked a second time.
  if (closeAsking_) return;
  closeAsking_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{closeAsking_};
  wizard_->btnCloseClick();
}

void TfrmDefaultInterface::appEventsException(const std::string& message) {
  const MainWindowTexts& t = MainWindowText();
  // A failure may escape a step that set the hourglass; the wizard goes on.
  SetScreenCursor(ScreenCursor::kDefault);
  ShowProblemDialog(t.generalProblemTitle, t.generalProblemMessage, t.generalProblemHint, message);
}

LRESULT TfrmDefaultInterface::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      FormResize();
      break;
    case WM_GETMINMAXINFO: {
      // Maximised means the whole screen, not the work area.
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      const RECT screen = ScreenRect();
      info->ptMaxPosition = {screen.left, screen.top};
      info->ptMaxSize = {screen.right - screen.left, screen.bottom - screen.top};
      return 0;
    }
    case WM_SETCURSOR:
      // The hourglass covers the window and its controls while the installation works.
      if (SetScreenCursorShape()) return TRUE;
      break;
    case WM_SYSCOMMAND:
      // The system menu's and the taskbar's "Close" (Alt+F4 among them).
      if ((wp & 0xFFF0) != SC_CLOSE) break;
      [[fallthrough]];
    case WM_CLOSE:
      // Closing the window by any means is the close button at that moment: a
      // question on pages 1 to 5, nothing while the installation runs, the end or
      // the restart on the completion page.
      CallReportingFailures([this] { btnCloseClick(); });
      return 0;
    case kCloseNow:
      FormClose();
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return ui::DefaultProc(window_, msg, wp, lp);
}

}  // namespace setuvane
