// The wizard's controls on the centred panel scrDefault: six white page panels to
// the right of the side picture, one shown at a time, and the three buttons below
// them. Places and sizes are the design's, in pixels inside their parents.
#pragma once

#include <windows.h>

#include <array>

#include "widgets/edit97.h"
#include "widgets/flat_button.h"
#include "widgets/flat_progress_bar.h"
#include "widgets/flat_radio_button.h"
#include "widgets/gdi_win32.h"
#include "widgets/report_list.h"
#include "widgets/static_memo.h"
#include "widgets/toolbar_button97.h"

namespace setuvane {

// The centred panel scrDefault that holds the side picture, the pages and the buttons.
inline constexpr int kWizardPanelWidth = 427;
inline constexpr int kWizardPanelHeight = 292;

struct WizardPages {
  // Creates every control, the page panels hidden.
  void Create(HWND scrDefault, HWND imgMotive);

  // The page panel of a page number, 1 to 6.
  HWND Panel(int page) const { return panels.at(static_cast<size_t>(page - 1)); }
  // Where a shown page stands: right of the side picture, at its top.
  POINT PanelPlace() const { return panelPlace; }

  std::array<HWND, 6> panels{};  // scrWelcome ... scrComplete
  POINT panelPlace{};
  GdiObject<HFONT> boldFont;

  HWND lblWelcome = nullptr;
  TStaticMemo memWelcomeTooltip;
  TReportList lsvLicense;
  TReportList lsvReadme;
  HWND lblLocation = nullptr;
  HWND lblFolder = nullptr;
  TEdit97 txtFolder;
  TToolbarButton97 btnBrowse;
  HWND lblFreeSpace = nullptr;
  TStaticMemo memLocationTooltip;
  HWND lblInstall = nullptr;
  HWND lblProgress = nullptr;
  TFlatProgressBar prgInstall;
  TFlatProgressBar prgOverall;
  HWND lblComplete = nullptr;
  TStaticMemo memComplete;
  TFlatRadioButton chkRestart;
  TFlatRadioButton chkReset;

  TFlatButton btnPrior;
  TFlatButton btnNext;
  TFlatButton btnClose;
};

}  // namespace setuvane
