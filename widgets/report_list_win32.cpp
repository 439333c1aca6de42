#include "widgets/report_list.h"

#include <commctrl.h>

#include "widgets/common_controls_win32.h"
#include "widgets/gdi_win32.h"
#include "widgets/wide_or_ansi_win32.h"

namespace setuvane {

bool TReportList::Create(HWND parent, int x, int y, int width, int height, int columnWidth) {
  if (!CommonControlsReady()) return false;
  columnWidth_ = columnWidth;
  list_ = ui::NewWindow(0, WC_LISTVIEWA, "",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL, x, y,
                        width, height, parent);
  if (!list_) return false;
  ui::Send(list_, WM_SETFONT, reinterpret_cast<WPARAM>(EffectiveFont(parent, nullptr)), FALSE);
  const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_FLATSB;
  ui::Send(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  ui::InsertListColumn(list_, columnWidth_ == kFillWidth ? width : columnWidth_);
  FitColumn();
  return true;
}

void TReportList::FitColumn() {
  // The last column of a report view fills what is left of the list's width.
  if (list_ && columnWidth_ == kFillWidth) ui::Send(list_, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
}

void TReportList::Clear() {
  if (list_) ui::Send(list_, LVM_DELETEALLITEMS, 0, 0);
  FitColumn();
}

void TReportList::Add(std::string_view caption) {
  if (!list_) return;
  ui::InsertListItem(list_, Count(), caption);
  FitColumn();  // a vertical scroll bar may have taken some of the width
}

int TReportList::Count() const { return list_ ? static_cast<int>(ui::Send(list_, LVM_GETITEMCOUNT, 0, 0)) : 0; }

std::string TReportList::Item(int index) const {
  return list_ ? ui::ListItemText(list_, index) : std::string();
}

}  // namespace setuvane
