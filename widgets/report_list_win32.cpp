#include "widgets/report_list.h"

#include <commctrl.h>

#include "system/cp1250.h"
#include "widgets/common_controls_win32.h"
#include "widgets/gdi_win32.h"

namespace setuvane {

bool TReportList::Create(HWND parent, int x, int y, int width, int height, int columnWidth) {
  if (!CommonControlsReady()) return false;
  columnWidth_ = columnWidth;
  list_ = CreateWindowExW(0, WC_LISTVIEWW, nullptr,
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL,
                          x, y, width, height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!list_) return false;
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(EffectiveFont(parent, nullptr)), FALSE);
  const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_FLATSB;
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = columnWidth_ == kFillWidth ? width : columnWidth_;
  SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  FitColumn();
  return true;
}

void TReportList::FitColumn() {
  // The last column of a report view fills what is left of the list's width.
  if (list_ && columnWidth_ == kFillWidth) SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
}

void TReportList::Clear() {
  if (list_) SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  FitColumn();
}

void TReportList::Add(std::string_view caption) {
  if (!list_) return;
  std::u16string text = Cp1250ToUtf16(caption);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = Count();
  item.pszText = reinterpret_cast<LPWSTR>(text.data());
  SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  FitColumn();  // a vertical scroll bar may have taken some of the width
}

int TReportList::Count() const { return list_ ? static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)) : 0; }

std::string TReportList::Item(int index) const {
  if (!list_) return {};
  std::u16string text(1024, u'\0');
  LVITEMW item{};
  item.iSubItem = 0;
  item.pszText = reinterpret_cast<LPWSTR>(text.data());
  item.cchTextMax = static_cast<int>(text.size());
  const auto length = SendMessageW(list_, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
  text.resize(static_cast<size_t>(length));
  return Utf16ToCp1250(text);
}

}  // namespace setuvane
