// TReportList: the system list view in report view with one column and no column
// header, read-only, selecting whole rows, with flat scroll bars and no border: a
// list of one-line captions, each cut off at the column's edge. The common
// controls are loaded at run time; without them the list is not created.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace setuvane {

class TReportList {
 public:
  // The column's width in pixels, or kFillWidth for a column that takes the
  // list's whole width.
  static constexpr int kFillWidth = -1;

  TReportList() = default;
  ~TReportList() = default;
  TReportList(const TReportList&) = delete;
  TReportList& operator=(const TReportList&) = delete;

  bool Create(HWND parent, int x, int y, int width, int height, int columnWidth);
  HWND Handle() const { return list_; }

  void Clear();
  void Add(std::string_view caption);
  int Count() const;
  std::string Item(int index) const;

 private:
  void FitColumn();

  HWND list_ = nullptr;
  int columnWidth_ = kFillWidth;
};

}  // namespace setuvane
