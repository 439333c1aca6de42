// TStaticMemo: a read-only multi-line text without border, without caret and not a
// tab stop, on its own (or its parent's) colour; a vertical scroll bar shows when
// the text is longer than the memo. It is a multi-line EDIT control
// inside a thin host window; the host answers the edit's colour request, so the
// holding window need not.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/colors.h"

namespace setuvane {

class TStaticMemo {
 public:
  TStaticMemo();
  ~TStaticMemo();
  TStaticMemo(const TStaticMemo&) = delete;
  TStaticMemo& operator=(const TStaticMemo&) = delete;

  // Long lines wrap at the right edge unless `wordWrap` is false.
  bool Create(HWND parent, int x, int y, int width, int height, bool wordWrap = true);
  HWND Handle() const;      // the host window
  HWND EditHandle() const;  // the EDIT control (select, copy, caret)

  // The text; a lone LF or CR is shown as a line break too.
  void SetText(std::string_view text);
  std::string Text() const;
  // Joined with CR LF; where a line is too wide for a wrapping memo, its paragraph
  // (up to an empty line) is wrapped as a whole instead.
  void SetLines(const std::vector<std::string>& lines);

  void SetColor(TColor color);  // also turns ParentColor off
  TColor Color() const;
  void SetParentColor(bool value);
  void SetFont(HFONT font);  // not owned; nullptr = parent's font or Tahoma 8 pt
  void SetFontColor(TColor color);  // default: window text
  TColor FontColor() const;
  void SetCursor(HCURSOR cursor);  // nullptr = the edit's own I-beam
  void SetVisible(bool value);
  bool Visible() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace setuvane
