// TToolbarButton97: a small flat toolbar button with a glyph and/or caption, no
// border at rest, a light frame while the mouse is over it and a sunken one while
// pressed; optional hand cursor and tooltip. Painted off-screen.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "widgets/colors.h"
#include "widgets/glyph_layout.h"

namespace setuvane {

class TToolbarButton97 {
 public:
  TToolbarButton97();
  ~TToolbarButton97();
  TToolbarButton97(const TToolbarButton97&) = delete;
  TToolbarButton97& operator=(const TToolbarButton97&) = delete;

  bool Create(HWND parent, int x, int y, int width = 23, int height = 22);
  HWND Handle() const;

  void SetCaption(std::string_view caption);
  const std::string& Caption() const;
  // Copies the bitmap; the colour of its bottom-left pixel is transparent. When
  // disabled the glyph is drawn embossed in grey.
  void SetGlyph(HBITMAP glyph);
  void SetLayout(ButtonLayout layout);  // default: glyph left of the caption
  void SetColor(TColor color);  // face; default: follows the parent
  TColor Color() const;
  void SetFont(HFONT font);  // not owned; nullptr = parent's font or Tahoma 8 pt
  void SetFontColor(TColor color);
  void SetHandCursor(bool value);
  bool HandCursor() const;
  // Tooltip text; empty = none. Skipped quietly when the system's
  // common controls cannot be loaded.
  void SetHint(std::string_view hint);
  const std::string& Hint() const;

  void SetEnabled(bool value);
  bool Enabled() const;
  void SetVisible(bool value);
  bool Visible() const;

  void SetOnClick(std::function<void()> handler);
  void Click();  // OnClick, if enabled

  bool Hovered() const;
  bool Pressed() const;
  bool HasTooltip() const;  // a tooltip window was created

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace setuvane
