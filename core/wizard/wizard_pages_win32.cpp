#include "core/wizard/wizard_pages_win32.h"

#include <algorithm>

#include "core/wizard/wizard_texts.h"
#include "dialogs/controls_win32.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {
namespace {

constexpr int kPageWidth = 291;
constexpr int kPageHeight = 250;
constexpr int kPageGap = 5;  // between the side picture and the page

// A label in `font`, at least as high as the font's lines, so that no descender is
// cut where the font is taller than the design's (13 pixels).
HWND Label(HWND page, int x, int y, int width, int height, const std::string& text, HFONT font) {
  HDC dc = GetDC(page);
  HGDIOBJ old = SelectObject(dc, font);
  const int lineHeight = ui::LineHeight(dc);
  SelectObject(dc, old);
  ReleaseDC(page, dc);
  HWND label = CreateLabel(page, x, y, width, std::max(height, lineHeight), text);
  ui::Send(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return label;
}

HWND TitleLabel(HWND page, const std::string& text, HFONT bold) { return Label(page, 8, 8, 275, 13, text, bold); }

// The page texts are given line by line and keep their lines where they fit; where
// the system's font is wider than the design's, they wrap (see TStaticMemo).
void GreyText(TStaticMemo& memo, HWND page, int x, int y, int width, int height,
              const std::vector<std::string>& lines) {
  memo.Create(page, x, y, width, height);
  memo.SetFontColor(colors::kBtnShadow);
  memo.SetLines(lines);
}

void ProgressBar(TFlatProgressBar& bar, HWND page, int y) {
  bar.Create(page, 19, y, 255, 16);
  bar.SetSmooth(true);
  bar.SetColor(colors::kWhite);
  bar.SetColorElement(colors::kSilver);
  bar.SetColorBorder(colors::kGray);
}

}  // namespace

void WizardPages::Create(HWND scrDefault, HWND imgMotive) {
  const WizardTexts& t = WizardText();
  RECT motive;
  GetWindowRect(imgMotive, &motive);
  MapWindowPoints(nullptr, scrDefault, reinterpret_cast<POINT*>(&motive), 2);
  panelPlace = {motive.right + kPageGap, motive.top};
  for (HWND& panel : panels) {
    panel = CreatePanel(scrDefault, panelPlace.x, panelPlace.y, kPageWidth, kPageHeight, GetSysColor(COLOR_WINDOW));
    ShowWindow(panel, SW_HIDE);
  }
  boldFont = CreateTahoma(/*bold=*/true);

  HWND welcome = Panel(1);
  lblWelcome = TitleLabel(welcome, t.welcomeTitle, boldFont.get());
  GreyText(memWelcomeTooltip, welcome, 8, 32, 279, 209, t.welcomeLines);

  lsvLicense.Create(Panel(2), 0, 0, kPageWidth, kPageHeight, 275);
  lsvReadme.Create(Panel(3), 0, 0, kPageWidth, kPageHeight, TReportList::kFillWidth);

  HWND location = Panel(4);
  lblLocation = TitleLabel(location, t.locationTitle, boldFont.get());
  lblFolder = Label(location, 16, 64, 45, 13, t.folderLabel, DefaultControlFont());
  txtFolder.Create(location, 62, 63, 187, 19);
  btnBrowse.Create(location, 253, 64, 23, 22);
  btnBrowse.SetCaption(t.browseCaption);
  btnBrowse.SetHandCursor(true);
  lblFreeSpace = Label(location, 64, 88, 185, 13, "", DefaultControlFont());
  SetLabelColour(lblFreeSpace, GetSysColor(COLOR_BTNSHADOW));
  GreyText(memLocationTooltip, location, 11, 187, 273, 55, t.locationTooltipLines);

  HWND install = Panel(5);
  lblInstall = TitleLabel(install, t.installTitle, boldFont.get());
  lblProgress = Label(install, 20, 119, 252, 13, "", DefaultControlFont());
  ProgressBar(prgInstall, install, 136);
  ProgressBar(prgOverall, install, 156);

  HWND complete = Panel(6);
  lblComplete = TitleLabel(complete, t.completeTitle, boldFont.get());
  GreyText(memComplete, complete, 8, 32, 279, 145, t.completeLines);
  // A caption that wraps makes its button higher, and the one below moves down.
  chkRestart.Create(complete, 8, 192, 265, 17);
  chkRestart.SetCaption(t.restartChoice);
  const int grown = chkRestart.FitHeightToCaption() - 17;
  chkReset.Create(complete, 8, 208 + grown, 265, 17);
  chkReset.SetCaption(t.resetChoice);
  chkReset.FitHeightToCaption();
  chkRestart.SetChecked(true);

  btnPrior.Create(scrDefault, 161, 261, 85, 25);
  btnPrior.SetCaption(t.prior);
  btnNext.Create(scrDefault, 249, 261, 85, 25);
  btnNext.SetCaption(t.next);
  btnClose.Create(scrDefault, 337, 261, 85, 25);
  btnClose.SetCaption(t.close);
}

}  // namespace setuvane
