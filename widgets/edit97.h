// TEdit97: a flat one-line edit box: an EDIT control inside a host that draws a
// one-pixel border (darker while focused or hovered) instead of the sunken 3-D edge.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "widgets/colors.h"

namespace setuvane {

class TEdit97 {
 public:
  TEdit97();
  ~TEdit97();
  TEdit97(const TEdit97&) = delete;
  TEdit97& operator=(const TEdit97&) = delete;

  bool Create(HWND parent, int x, int y, int width = 121, int height = 19);
  HWND Handle() const;      // the host window
  HWND EditHandle() const;  // the EDIT control

  // The text. Setting a different text raises OnChange, as typing does.
  void SetText(std::string_view text);
  std::string Text() const;

  void SetColor(TColor color);  // default: window colour
  TColor Color() const;
  void SetColorBorder(TColor color);
  TColor ColorBorder() const;
  void SetFont(HFONT font);  // not owned; nullptr = parent's font or Tahoma 8 pt
  void SetMaxLength(int length);  // 0 = no limit of its own
  void SetEnabled(bool value);
  bool Enabled() const;
  void SetVisible(bool value);
  bool Visible() const;

  void SetOnChange(std::function<void()> handler);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace setuvane
