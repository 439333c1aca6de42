#include "dialogs/message_dialog_win32.h"

#include <algorithm>
#include <array>

#include "dialogs/artwork_win32.h"
#include "dialogs/centring.h"
#include "dialogs/controls_win32.h"
#include "dialogs/form_window_win32.h"
#include "dialogs/mail_link.h"
#include "dialogs/mail_opener_win32.h"
#include "dialogs/message_dialog_logic.h"
#include "dialogs/message_dialog_texts.h"
#include "dialogs/message_routines.h"
#include "dialogs/ui_font_win32.h"
#include "dialogs/uncaught_failure.h"
#include "widgets/wide_or_ansi_win32.h"
#include "widgets/widget_messages.h"

namespace setuvane {
namespace {

constexpr char kClassName[] = "TfrmMessageDialog";
constexpr int kClientWidth = 303;
constexpr int kClientHeight = 231;
// A choice's buttons: the number chosen after this, so that none is 0.
constexpr int kFirstChoice = 100;

int BubbleArtwork(Bubble bubble) {
  switch (bubble) {
    case Bubble::kQuestion:
      return IDB_BUBBLE_QUESTION;
    case Bubble::kAsterisk:
      return IDB_BUBBLE_ASTERISK;
    case Bubble::kWarning:
      break;
  }
  return IDB_BUBBLE_WARNING;
}

int TextWidth(HDC dc, const std::string& text) {
  RECT area{0, 0, 0, 0};
  ui::DrawTextUtf8(dc, text, area, DT_CALCRECT | DT_SINGLELINE);
  return area.right - area.left;
}

}  // namespace

TfrmMessageDialog::TfrmMessageDialog() {
  RegisterFormClass(kClassName, &FormWindowProc<TfrmMessageDialog>,
                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  font_ = CreateTahoma();
  boldFont_ = CreateTahoma(true);
  glyphRight_ = LoadArtwork(IDB_GLYPH_RIGHT);
  glyphDown_ = LoadArtwork(IDB_GLYPH_DOWN);
  // FormWindowProc attaches this object and sets window_ at WM_NCCREATE.
  ui::NewWindow(0, kClassName, "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, kClientWidth, kClientHeight, DialogOwner(),
                this);
  width_ = kClientWidth;
  run_.window = window_;
  run_.previewKey = [this](const MSG& msg) { FormKeyDown(static_cast<int>(msg.wParam)); };
  CreateControls();
}

TfrmMessageDialog::~TfrmMessageDialog() { DestroyFormWindow(window_); }

void TfrmMessageDialog::CreateControls() {
  const MessageDialogTexts& t = MessageDialogText();
  ui::Send(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

  scrollBox_ = CreatePanel(window_, 3, 22, 297, 206, RGB(255, 255, 255));
  imgStyle_ = CreatePicture(scrollBox_, 8, 8, 34, 34, /*keyed=*/true);
  SetPicture(imgStyle_, LoadArtwork(IDB_BUBBLE_WARNING));
  lblTitle_ = CreateLabel(scrollBox_, 48, 8, 241, 13, "");
  ui::Send(lblTitle_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);

  memMessage_.Create(scrollBox_, 48, 24, 241, 137);
  memMessage_.SetFont(font_.get());
  memMessage_.SetCursor(ui::SystemCursor(IDC_ARROW));
  HideCaret(memMessage_.EditHandle());

  // btn1 right, btn2 middle, btn3 left.
  const std::array<std::pair<TPlainButton*, int>, 3> buttons{
      {{&btn1_, 208}, {&btn2_, 123}, {&btn3_, 38}}};
  for (auto [button, left] : buttons) {
    button->SetVisible(false);
    button->Create(scrollBox_, left, 174, 81, 25);
    button->SetFont(font_.get());
    button->SetColorFocused(colors::kWhite);
    button->SetColorDown(colors::kWhite);
    button->SetColorBorder(colors::kSilver);
    button->SetColorHighLight(colors::kSilver);
    button->SetColorShadow(colors::kGray);
    button->SetOnClick([this, button] { CallReportingFailures([&] { ButtonClick(*button); }); });
  }

  HWND panel1 = CreatePanel(window_, 282, 2, 18, 18, GetSysColor(COLOR_BTNFACE));
  btnClose_.Create(panel1, 0, 0, 18, 17);
  GdiObject<HBITMAP> cross = LoadArtwork(IDB_GLYPH_CLOSE);
  btnClose_.SetGlyph(cross.get());
  btnClose_.SetHint(t.closeHint);
  btnClose_.SetOnClick([this] { CallReportingFailures([&] { btnCloseClick(); }); });

  HWND panel2 = CreatePanel(window_, 4, 2, 18, 18, GetSysColor(COLOR_BTNFACE));
  btnDropdown_.Create(panel2, 0, 0, 18, 18);
  btnDropdown_.SetGlyph(glyphRight_.get());
  btnDropdown_.SetOnClick([this] { CallReportingFailures([&] { btnDropdownClick(); }); });
}

void TfrmMessageDialog::Prepare(const std::string& title, const std::string& text, int kind) {
  SetWindowTextUtf8(window_, title);
  SetLabelText(lblTitle_, title);
  memMessage_.SetText(text);
  if (kind < kKindWarning || kind > kKindQuestionCancel) return;  // design-time look
  const MessageDialogLayout layout = LayoutForKind(kind);
  SetPicture(imgStyle_, LoadArtwork(BubbleArtwork(layout.bubble)));
  TPlainButton* buttons[] = {&btn1_, &btn2_, &btn3_};
  for (int i = 0; i < 3; ++i) {
    if (layout.captions[i].empty()) continue;
    buttons[i]->SetCaption(layout.captions[i]);
    buttons[i]->SetVisible(true);
  }
}

void TfrmMessageDialog::PrepareChoice(const std::string& title, const std::string& text,
                                      const std::vector<std::string>& captions) {
  Prepare(title, text, kKindWarning);
  btn1_.SetVisible(false);
  // Right-aligned as the kinds' buttons, each as wide as its caption needs.
  constexpr int kRight = 289, kLeft = 8, kGap = 4, kPadding = 16, kNarrowest = 60;
  const size_t count = std::min<size_t>(captions.size(), 3);
  std::vector<int> widths;
  HDC dc = GetDC(window_);
  const HGDIOBJ previous = SelectObject(dc, font_.get());
  for (size_t i = 0; i < count; ++i) widths.push_back(std::max(kNarrowest, TextWidth(dc, captions[i]) + kPadding));
  SelectObject(dc, previous);
  ReleaseDC(window_, dc);
  int total = kGap * static_cast<int>(count ? count - 1 : 0);
  for (int width : widths) total += width;
  // Captions too long for the window make it wider, its close button going along.
  const int wider = std::max(0, total - (kRight - kLeft));
  if (wider > 0) {
    for (HWND grown : {window_, scrollBox_}) {
      RECT r;
      GetWindowRect(grown, &r);
      SetWindowPos(grown, nullptr, 0, 0, r.right - r.left + wider, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HWND closePanel = GetParent(btnClose_.Handle());
    RECT r;
    GetWindowRect(closePanel, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(closePanel, nullptr, r.left + wider, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    width_ += wider;
  }
  TPlainButton* fromRight[] = {&btn1_, &btn2_, &btn3_};
  int right = kRight + wider;
  for (size_t n = 0; n < count; ++n) {
    const size_t i = count - 1 - n;  // the last caption on the right
    TPlainButton& button = *fromRight[n];
    right -= widths[i];
    SetWindowPos(button.Handle(), nullptr, right, 174, widths[i], 25, SWP_NOZORDER | SWP_NOACTIVATE);
    right -= kGap;
    button.SetCaption(captions[i]);
    button.SetVisible(true);
    choiceResults_[n] = kFirstChoice + static_cast<int>(i) + 1;
  }
}

int TfrmMessageDialog::ShowChoiceModal() {
  const int result = ShowModal();
  return result > kFirstChoice ? result - kFirstChoice : 0;
}

void TfrmMessageDialog::CentreOverMainWindow() {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (HWND main = MainWindow(); main && IsWindowVisible(main)) GetWindowRect(main, &area);
  SetWindowPos(window_, nullptr, area.left + CentredOffset(area.right - area.left, width_),
               area.top + CentredOffset(area.bottom - area.top, kClientHeight), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TfrmMessageDialog::ShowModal() {
  CentreOverMainWindow();
  return RunModal(run_);
}

LRESULT TfrmMessageDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST: {
      // No caption bar: the window's own surface serves as one.
      const LRESULT hit = ui::DefaultProc(window_, msg, wp, lp);
      return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_CLOSE:
      btnCloseClick();
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kCommandCopy:
          popDefaultCopyClick();
          return 0;
        case kCommandSend:
          popDefaultSendClick();
          return 0;
        case kCommandClose:
          btnCloseClick();
          return 0;
      }
      break;
  }
  return ui::DefaultProc(window_, msg, wp, lp);
}

void TfrmMessageDialog::ButtonClick(const TPlainButton& button) {
  const int place = &button == &btn1_ ? 0 : &button == &btn2_ ? 1 : 2;
  if (choiceResults_[place]) {
    run_.result = choiceResults_[place];
    return;
  }
  if (const int result = ResultForCaption(button.Caption())) run_.result = result;
}

void TfrmMessageDialog::FormKeyDown(int key) {
  constexpr int kEscape = 27;
  if (choiceResults_[0] && key == kEscape) {
    run_.result = kResultCancel;
    return;
  }
  if (const int result = ResultForKey(key, btn1_.Caption(), btn2_.Caption())) run_.result = result;
}

void TfrmMessageDialog::btnCloseClick() { run_.result = kResultCancel; }

void TfrmMessageDialog::btnDropdownClick() {
  const MessageDialogTexts& t = MessageDialogText();
  const COLORREF menuColour = GetSysColor(COLOR_MENU);
  GdiObject<HBITMAP> copyIcon = KeyedOnBackground(LoadArtwork(IDB_MENU_COPY).get(), menuColour);
  GdiObject<HBITMAP> sendIcon = KeyedOnBackground(LoadArtwork(IDB_MENU_SEND).get(), menuColour);
  GdiObject<HBITMAP> closeIcon = KeyedOnBackground(LoadArtwork(IDB_MENU_CLOSE).get(), menuColour);
  HMENU menu = CreatePopupMenu();
  ui::AppendMenuEntry(menu, kCommandCopy, t.copy, copyIcon.get());
  ui::AppendMenuEntry(menu, kCommandSend, t.send, sendIcon.get());
  ui::AppendMenuSeparator(menu);
  ui::AppendMenuEntry(menu, kCommandClose, t.closeHint, closeIcon.get());

  RECT button;
  GetWindowRect(btnDropdown_.Handle(), &button);
  btnDropdown_.SetGlyph(glyphDown_.get());
  // Blocks until the menu closes; the chosen entry arrives as WM_COMMAND.
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.bottom, 0, window_,
                 nullptr);
  btnDropdown_.SetGlyph(glyphRight_.get());
  DestroyMenu(menu);
}

void TfrmMessageDialog::popDefaultCopyClick() {
  HWND edit = memMessage_.EditHandle();
  ui::Send(edit, EM_SETSEL, 0, -1);
  ui::Send(edit, WM_COPY, 0, 0);
}

void TfrmMessageDialog::popDefaultSendClick() {
  // Fire and forget: the question window reports no failure of its own.
  OpenMailLink(window_, BuildMessageMailLink(WindowTextUtf8(lblTitle_), memMessage_.Text()));
}

}  // namespace setuvane
