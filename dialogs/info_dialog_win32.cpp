#include "dialogs/info_dialog_win32.h"

#include "dialogs/application_title.h"
#include "dialogs/artwork_win32.h"
#include "dialogs/centring.h"
#include "dialogs/controls_win32.h"
#include "dialogs/form_window_win32.h"
#include "dialogs/mail_link.h"
#include "dialogs/mail_opener_win32.h"
#include "dialogs/message_routines.h"
#include "dialogs/problem_dialog_logic.h"
#include "dialogs/problem_dialog_texts.h"
#include "dialogs/ui_font_win32.h"
#include "dialogs/uncaught_failure.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

constexpr char kClassName[] = "TfrmInfoDialog";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kClientWidth = 400;
constexpr int kClientHeight = 95;
constexpr int kIconSize = 18;
constexpr int kTextIndent = 24;
constexpr int kEnter = 13;
constexpr int kEscape = 27;

}  // namespace

TfrmInfoDialog::TfrmInfoDialog() {
  RegisterFormClass(kClassName, &FormWindowProc<TfrmInfoDialog>,
                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  RECT outer{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
  ui::NewWindow(kExStyle, kClassName, ProblemDialogText().caption, kStyle, 0, 0, outer.right - outer.left,
                outer.bottom - outer.top, DialogOwner(), this);
  run_.window = window_;
  // Key preview: the window sees each key before the focused control.
  run_.previewKey = [this](const MSG& msg) { FormKeyDown(static_cast<int>(msg.wParam)); };

  const ProblemDialogTexts& t = ProblemDialogText();
  imgIcon_ = CreatePicture(window_, 9, 8, 32, 32, /*keyed=*/true);
  SetPicture(imgIcon_, LoadArtwork(IDB_WARNING_ICON));
  lblMessage_ = CreateLabel(window_, 51, 8, 242, 73, "");
  bvlVerticalSeparator_ = CreateVerticalBevel(window_, 303, 8, 18, kSeparatorCollapsedHeight);
  // Creation order is tab order: btnClose, btnDetails, btnSend, lstDetails.
  btnClose_.Create(window_, 311, 8, 85, 25);
  btnClose_.SetCaption(t.close);
  btnClose_.SetOnClick([this] { CallReportingFailures([&] { btnCloseClick(); }); });
  btnDetails_.Create(window_, 311, 36, 85, 25);
  btnDetails_.SetCaption(t.details);
  btnDetails_.SetOnClick([this] { CallReportingFailures([&] { btnDetailsClick(); }); });
  btnSend_.Create(window_, 311, 64, 85, 25);
  btnSend_.SetCaption(t.send);
  btnSend_.SetVisible(false);
  btnSend_.SetOnClick([this] { CallReportingFailures([&] { popSendClick(); }); });
  lstDetails_ =
      ui::NewWindow(WS_EX_CLIENTEDGE, "LISTBOX", "",
                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS |
                        LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                    8, 136, 289, 129, window_);
  imgException_ = LoadArtwork(IDB_DETAIL_EXCEPTION);
  imgCritical_ = LoadArtwork(IDB_DETAIL_CRITICAL);
  FormCreate();
}

TfrmInfoDialog::~TfrmInfoDialog() { DestroyFormWindow(window_); }

void TfrmInfoDialog::FormCreate() {
  font_ = FontFamilyInstalled("Tahoma") ? CreateTahoma() : CreateSansSerif();
  ui::Send(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  ui::Send(lblMessage_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  ui::Send(lstDetails_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  btnClose_.SetFont(font_.get());
  btnDetails_.SetFont(font_.get());
  btnSend_.SetFont(font_.get());
}

void TfrmInfoDialog::SetCaption(const std::string& caption) {
  caption_ = caption;
  SetWindowTextUtf8(window_, caption);
}

void TfrmInfoDialog::SetMessage(const std::string& message) { SetLabelText(lblMessage_, message); }

void TfrmInfoDialog::SetDetailLines(const std::vector<std::string>& lines) {
  ui::Send(lstDetails_, LB_RESETCONTENT, 0, 0);
  lines_ = lines;
  // Each addition measures its line (WM_MEASUREITEM reads lines_ by index).
  for (const std::string& line : lines_) ui::AddListBoxLine(lstDetails_, line);
}

void TfrmInfoDialog::SetDetailsEnabled(bool enabled) { btnDetails_.SetEnabled(enabled); }

int TfrmInfoDialog::ShowModal() {
  FormShow();
  return RunModal(run_);
}

void TfrmInfoDialog::FormShow() {
  RECT outer;
  GetWindowRect(window_, &outer);
  SetWindowPos(window_, nullptr,
               CentredOffset(GetSystemMetrics(SM_CXSCREEN), outer.right - outer.left),
               CentredOffset(GetSystemMetrics(SM_CYSCREEN), outer.bottom - outer.top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TfrmInfoDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      btnCloseClick();
      return 0;
    case WM_MEASUREITEM:
      lstDetailsMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
      return TRUE;
    case WM_DRAWITEM:
      lstDetailsDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return ui::DefaultProc(window_, msg, wp, lp);
}

void TfrmInfoDialog::FormKeyDown(int key) {
  if (key == kEnter) btnDetailsClick();  // also when "Szczegóły" is disabled
  if (key == kEscape) btnCloseClick();
}

void TfrmInfoDialog::btnCloseClick() { run_.result = kResultCancel; }

void TfrmInfoDialog::btnDetailsClick() {
  const DetailsView view = ToggleDetails(expanded_ != 0);
  RECT outer;
  GetWindowRect(window_, &outer);
  SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, view.outerHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(bvlVerticalSeparator_, nullptr, 0, 0, 18, view.separatorHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  btnSend_.SetVisible(view.sendVisible);
  expanded_ = view.expanded ? 1 : 0;
}

void TfrmInfoDialog::popSendClick() {
  // Without a hint the list is empty (opened with Enter): the report then carries
  // the title with empty hint and details fields.
  const std::string hint = lines_.size() > 0 ? lines_[0] : std::string();
  const std::string details = lines_.size() > 1 ? lines_[1] : std::string();
  if (OpenMailLink(window_, BuildProblemMailLink(caption_, hint, details)) <= 32) {
    ShowMessageDialog(ApplicationTitle(), ProblemDialogText().sendFailed, kKindWarning);
  }
}

void TfrmInfoDialog::lstDetailsMeasureItem(MEASUREITEMSTRUCT& item) {
  if (item.itemID >= lines_.size()) return;
  RECT list;
  GetWindowRect(lstDetails_, &list);
  // Lines are measured whole, however long (no cut at 255 characters).
  RECT text{0, 0, (list.right - list.left) - kTextIndent, 2};
  HDC dc = GetDC(lstDetails_);
  HFONT font = reinterpret_cast<HFONT>(ui::Send(lstDetails_, WM_GETFONT, 0, 0));
  int height;
  {
    SelectScope select(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    height = ui::DrawTextUtf8(dc, lines_[item.itemID], text, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
  }
  ReleaseDC(lstDetails_, dc);
  item.itemHeight = static_cast<UINT>(DetailLineHeight(height));
}

void TfrmInfoDialog::lstDetailsDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  GdiObject<HBRUSH> brush(CreateSolidBrush(back));
  FillRect(dc, &r, brush.get());

  HBITMAP source = item.itemID == 0   ? imgException_.get()
                   : item.itemID == 1 ? imgCritical_.get()
                                      : nullptr;
  if (source) {
    // The icon's bottom-left colour gives way to the line's background.
    GdiObject<HBITMAP> icon = KeyedOnBackground(source, back);
    MemoryDC iconDc(dc);
    SelectScope select(iconDc.get(), icon.get());
    BitBlt(dc, r.left + 4, r.top + 2, kIconSize, kIconSize, iconDc.get(), 0, 0, SRCCOPY);
  }
  if (item.itemID < lines_.size()) {
    RECT text{r.left + kTextIndent, r.top + 2, r.right, r.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ui::DrawTextUtf8(dc, lines_[item.itemID], text, DT_EXPANDTABS | DT_WORDBREAK);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace setuvane
