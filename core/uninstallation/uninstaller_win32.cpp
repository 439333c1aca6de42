#include "core/uninstallation/uninstaller_win32.h"

#include <windows.h>

#include "core/run/exit_codes.h"
#include "core/run/problem_reports.h"
#include "core/uninstallation/uninstall_setup.h"
#include "core/uninstallation/uninstall_texts.h"
#include "core/uninstallation/uninstallation.h"
#include "core/wizard/windowless_view.h"
#include "core/wizard/wizard_pages_win32.h"
#include "core/wizard/wizard_view_win32.h"
#include "dialogs/application_title.h"
#include "dialogs/artwork_win32.h"
#include "dialogs/centring.h"
#include "dialogs/controls_win32.h"
#include "dialogs/form_window_win32.h"
#include "dialogs/modal_run_win32.h"
#include "system/machine.h"
#include "system/wide_or_ansi_files_win32.h"
#include "core/uninstallation/uninstall_files.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

constexpr char kClassName[] = "TfrmUninstall";
constexpr int kInstallPage = 5;

}  // namespace

// The installer's main window as the install page shows it: black over the whole
// screen, the corner picture and logo, the centred panel with the side picture,
// the page with its line of progress and two bars, the buttons held.
class TfrmUninstall {
 public:
  TfrmUninstall() {
    RegisterFormClass(kClassName, &FormWindowProc<TfrmUninstall>, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ui::NewWindow(WS_EX_APPWINDOW, kClassName, ApplicationTitle(), WS_POPUP | WS_CLIPCHILDREN, 0, 0, 804, 585,
                  nullptr, this);
    font_ = CreateTahoma();
    ui::Send(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    HWND corner = CreatePicture(window_, 2, 8, 275, 190, /*keyed=*/false);
    SetPicture(corner, LoadArtwork(IDB_CORNER));
    HWND logo = CreatePicture(window_, 16, 16, 180, 60, /*keyed=*/false);
    SetPicture(logo, LoadArtwork(IDB_LOGO));
    SetWindowPos(logo, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    panel_ = CreatePanel(window_, 24, 208, kWizardPanelWidth, kWizardPanelHeight, GetSysColor(COLOR_BTNFACE));
    HWND motive = CreatePicture(panel_, 5, 5, 120, 250, /*keyed=*/false);
    SetPicture(motive, LoadArtwork(IDB_MOTIVE));
    pages_.Create(panel_, motive);
    SetLabelText(pages_.lblInstall, UninstallText().pageTitle);
    Win32WizardView::Window window;
    window.pumpMessages = [this] { Pump(); };
    view_ = std::make_unique<Win32WizardView>(pages_, std::move(window));
    for (WizardButton b : {WizardButton::kPrior, WizardButton::kNext, WizardButton::kClose})
      view_->SetButtonEnabled(b, false);
    view_->ShowPanel(kInstallPage);
    SetMainWindow(window_);
    SetApplicationTitleListener([this](const std::string& text) { SetWindowTextUtf8(window_, text); });
  }
  ~TfrmUninstall() {
    SetApplicationTitleListener(nullptr);
    SetMainWindow(nullptr);
    DestroyFormWindow(window_);
  }
  TfrmUninstall(const TfrmUninstall&) = delete;
  TfrmUninstall& operator=(const TfrmUninstall&) = delete;

  void Show() {
    ShowWindow(window_, SW_SHOWMAXIMIZED);
    SetWindowPos(window_, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(window_);
    const DWORD start = GetTickCount();
    do {
      Pump();
      Sleep(10);
    } while (GetTickCount() - start < 150);
  }

  WizardView& View() { return *view_; }

 private:
  template <class Form>
  friend LRESULT CALLBACK FormWindowProc(HWND, UINT, WPARAM, LPARAM);

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_SIZE:
        if (panel_) {
          RECT outer;
          GetWindowRect(window_, &outer);
          SetWindowPos(panel_, nullptr, CentredOffset(outer.right - outer.left, kWizardPanelWidth),
                       CentredOffset(outer.bottom - outer.top, kWizardPanelHeight), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
          RedrawWindow(panel_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        break;
      case WM_CLOSE:
        return 0;  // the removal is not interrupted half-way
    }
    return ui::DefaultProc(window_, msg, wp, lp);
  }

  void Pump() {
    MSG msg;
    while (ui::PeekNext(msg)) {
      TranslateMessage(&msg);
      ui::Dispatch(msg);
    }
  }

  HWND window_ = nullptr;
  HWND panel_ = nullptr;
  GdiObject<HFONT> font_;
  WizardPages pages_;
  std::unique_ptr<Win32WizardView> view_;
};

namespace {

std::string FolderOf(const std::string& path) {
  const size_t last = path.find_last_of('\\');
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

// The uninstaller of the program folder: a copy of itself in the temporary
// folder does the work; this one waits for it and passes its exit code on.
std::optional<int> RunUninstallerCopy(const Switches& switches) {
  const std::string program = CurrentMachine().ModulePath().value_or(std::string());
  UninstallFiles& files = CurrentUninstallFiles();
  const std::optional<std::string> copy = files.NewTemporaryFile();
  if (!copy || !files.CopyFileTo(program, *copy)) {
    if (copy) files.RemoveFile(*copy);
    if (switches.mode == RunMode::kInteractive) {
      const ReportTexts& r = UninstallText().uninstallerNotStarted;
      ReportProblem(r.title, r.message, r.hint, program);
    }
    return std::nullopt;
  }
  // Each uninstaller's record lies beside it under its own name.
  std::string commandLine = Quote(*copy) + " " + kUninstallSwitch + "=" + Quote(RecordPathOfUninstaller(program));
  if (switches.mode == RunMode::kSilent) commandLine += " /SILENT";
  if (switches.mode == RunMode::kVerySilent) commandLine += " /VERYSILENT";
  if (switches.log) commandLine += " /LOG=" + Quote(*switches.log);
  for (const std::string& argument : switches.harmless) commandLine += " " + argument;  // for the copy's log
  // Neither process may hold the program folder as its current folder: it is to go.
  const std::string temporary = FolderOf(*copy);
  win32::EnterFolderAt(temporary);
  PROCESS_INFORMATION process{};
  if (!win32::StartProcess(*copy, commandLine, 0, temporary, std::nullopt, process)) {
    files.RemoveFile(*copy);
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = kExitStepFailed;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  // The copy has ended: it goes now, or when Windows starts next.
  if (files.RemoveFile(*copy) == FileRemoval::kInUse) files.RemoveAtRestart(*copy);
  return static_cast<int>(exitCode);
}

int RunUninstaller(const Switches& switches) {
  if (switches.uninstall->empty()) return RunUninstallerCopy(switches).value_or(kExitStepFailed);
  if (switches.mode == RunMode::kVerySilent) {
    WindowlessView view;
    return RunUninstallation({.view = view, .recordPath = *switches.uninstall, .ask = false});
  }
  TfrmUninstall form;
  form.Show();
  return RunUninstallation({.view = form.View(),
                            .recordPath = *switches.uninstall,
                            .ask = switches.mode == RunMode::kInteractive});
}

}  // namespace setuvane
